// Version, drive types, error state and string services of the emulated
// machine.
#include <string.h>

#include "machine_state.h"

namespace {
DWORD LastError = ERROR_SUCCESS;
UINT ErrorMode = 0;
}  // namespace

DWORD GetLastError(void) { return LastError; }

void SetLastError(DWORD error) { LastError = error; }

BOOL GetVersionExA(LPOSVERSIONINFOA info) {
  const EmulatedVersion *version = EmulatedVersionRecord();
  DWORD size = info->dwOSVersionInfoSize;
  bool accepted = size == sizeof(OSVERSIONINFOA) ||
                  (size == sizeof(OSVERSIONINFOEXA) && version &&
                   version->acceptsExtendedRecord);
  if (!version || !accepted) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = version->majorVersion;
  info->dwMinorVersion = version->minorVersion;
  info->dwBuildNumber = version->buildNumber;
  info->dwPlatformId = version->platformId;
  info->szCSDVersion[0] = '\0';
  return TRUE;
}

// There are no critical-error dialogs to suppress; the mode is only kept.
UINT SetErrorMode(UINT mode) {
  UINT previous = ErrorMode;
  ErrorMode = mode;
  return previous;
}

UINT GetDriveTypeA(LPCSTR rootPath) {
  if (!rootPath || strlen(rootPath) != 3 || rootPath[1] != ':' ||
      rootPath[2] != '\\')
    return DRIVE_NO_ROOT_DIR;
  return EmulatedDriveType(rootPath[0]);
}

int lstrcmpiA(LPCSTR first, LPCSTR second) {
  for (;; ++first, ++second) {
    int difference = (unsigned char)UpperCaseOf(*first) -
                     (unsigned char)UpperCaseOf(*second);
    if (difference) return difference < 0 ? -1 : 1;
    if (!*first) return 0;
  }
}

int lstrlenA(LPCSTR text) { return text ? (int)strlen(text) : 0; }

LPSTR lstrcpyA(LPSTR target, LPCSTR source) { return strcpy(target, source); }

LPSTR lstrcatA(LPSTR target, LPCSTR source) { return strcat(target, source); }
