#include "library_version.h"

#include <stdlib.h>
#include <string.h>

const double MinimumLibraryVersion = 4.1;
const double NoVersionValue = 2.0;

double VersionNumber(WORD major, WORD minor) {
  // Single precision on purpose: which side of 4.1 the readings of 4.10,
  // 4.100 and 4.1000 fall on depends on these exact values.
  float scale = minor >= 10000 ? 0.00001f
                : minor >= 1000 ? 0.0001f
                : minor >= 100  ? 0.001f
                : minor >= 10   ? 0.01f
                                : 0.1f;
  return (double)major + (double)minor * (double)scale;
}

double GetLibraryVersion(LPCSTR path) {
  DWORD handle;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return NoVersionValue;
  void *resource = malloc(size);
  if (!resource) return NoVersionValue;
  VS_FIXEDFILEINFO fixed;
  LPVOID value;
  UINT length;
  bool found = GetFileVersionInfoA(path, handle, size, resource) &&
               VerQueryValueA(resource, "\\", &value, &length);
  if (found) memcpy(&fixed, value, sizeof fixed);
  free(resource);
  if (!found) return NoVersionValue;
  return VersionNumber(HIWORD(fixed.dwFileVersionMS),
                       LOWORD(fixed.dwFileVersionMS));
}
