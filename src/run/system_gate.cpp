#include "system_gate.h"

#include <string.h>

#include "system_services.h"

bool SupportedSystem = false;

bool CheckSystemVersion(void) {
  OSVERSIONINFOEXA info;
  memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  // Only Windows 2000 and later accept the extended record: a system that
  // refuses it is older, whatever its basic record would say.
  SupportedSystem = GetVersionExA((LPOSVERSIONINFOA)&info) &&
                    info.dwPlatformId == VER_PLATFORM_WIN32_NT &&
                    info.dwMajorVersion == 5 && info.dwMinorVersion <= 1;
  return SupportedSystem;
}
