#include "link_cycle.h"

#include "path_buffer.h"

namespace {

struct DirectoryIdentity {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
};

// The volume and file index of a directory, which stay the same whatever
// path, link or junction it is reached by.
bool GetDirectoryIdentity(LPCSTR path, DirectoryIdentity *identity) {
  HANDLE directory = CreateFileA(
      path, FILE_READ_ATTRIBUTES,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
  if (directory == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information;
  BOOL known = GetFileInformationByHandle(directory, &information);
  CloseHandle(directory);
  if (!known) return false;
  identity->volume = information.dwVolumeSerialNumber;
  identity->indexHigh = information.nFileIndexHigh;
  identity->indexLow = information.nFileIndexLow;
  return true;
}

}  // namespace

bool LeadsToAncestor(LPCSTR linkPath, LPCSTR directory) {
  DirectoryIdentity target, ancestor;
  if (!GetDirectoryIdentity(linkPath, &target)) return true;
  // Each prefix of directory that ends with a backslash is an ancestor.
  PathBuffer prefix;
  int length = 0;
  for (LPCSTR c = directory; *c; ++c) {
    prefix[length++] = *c;
    if (*c != '\\') continue;
    prefix[length] = '\0';
    if (GetDirectoryIdentity(prefix, &ancestor) &&
        ancestor.volume == target.volume &&
        ancestor.indexHigh == target.indexHigh &&
        ancestor.indexLow == target.indexLow)
      return true;
  }
  return false;
}
