/* A version.dll that an attacker plants beside the program. Loading it
   leaves a marker file beside it; its calls say there is no version. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\') --length;
    lstrcpyA(path + length, "planted-version-dll-was-loaded");
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL));
  }
  return TRUE;
}

DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle) {
  (void)path;
  *handle = 0;
  return 0;
}

BOOL WINAPI GetFileVersionInfoA(LPCSTR path, DWORD handle, DWORD length,
                                LPVOID data) {
  (void)path, (void)handle, (void)length, (void)data;
  return FALSE;
}

BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID *value,
                           PUINT length) {
  (void)block, (void)subBlock, (void)value, (void)length;
  return FALSE;
}
