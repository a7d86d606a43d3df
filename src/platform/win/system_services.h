// The Windows services the program calls: the system's own, except that
// the version library is loaded at run time (version_library.cpp) instead
// of imported, so its three calls go to the functions loaded then.
#ifndef ZNUPDATE_PLATFORM_SYSTEM_SERVICES_H
#define ZNUPDATE_PLATFORM_SYSTEM_SERVICES_H

#include <windows.h>

#define GetFileVersionInfoSizeA LoadedGetFileVersionInfoSizeA
#define GetFileVersionInfoA LoadedGetFileVersionInfoA
#define VerQueryValueA LoadedVerQueryValueA

DWORD WINAPI LoadedGetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle);
BOOL WINAPI LoadedGetFileVersionInfoA(LPCSTR path, DWORD handle,
                                      DWORD length, LPVOID data);
BOOL WINAPI LoadedVerQueryValueA(LPCVOID block, LPCSTR subBlock,
                                 LPVOID *value, PUINT length);

// Loads version.dll from the system directory; false when it or one of the
// three calls cannot be had.
BOOL LoadVersionLibrary(void);

#endif
