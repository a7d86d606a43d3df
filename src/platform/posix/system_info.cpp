// Version, drive types, error state and string services of the emulated
// machine.
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <string>

#include "machine_state.h"

namespace {
DWORD LastError = ERROR_SUCCESS;
UINT ErrorMode = 0;
std::string ConsoleTitle;
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

DWORD GetTickCount(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (DWORD)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

DWORD GetConsoleTitleA(LPSTR title, DWORD size) {
  if (size == 0) return 0;
  snprintf(title, size, "%s", ConsoleTitle.c_str());
  return (DWORD)strlen(title);
}

BOOL SetConsoleTitleA(LPCSTR title) {
  ConsoleTitle = title;
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
