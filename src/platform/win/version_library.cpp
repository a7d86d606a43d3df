// The program runs as an administrator from a folder full of DLLs, and the
// loader looks in the program's folder first for DLLs it imports. So the
// version library is not imported: it is loaded from the system directory
// by its full path.
#include "system_services.h"

namespace {

typedef DWORD(WINAPI *SizeCall)(LPCSTR, LPDWORD);
typedef BOOL(WINAPI *InfoCall)(LPCSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI *QueryCall)(LPCVOID, LPCSTR, LPVOID *, PUINT);

SizeCall SizeFunction;
InfoCall InfoFunction;
QueryCall QueryFunction;

template <typename Call>
Call Find(HMODULE library, LPCSTR name) {
  // Through a plain function pointer, the cast every exported call needs.
  return reinterpret_cast<Call>(
      reinterpret_cast<void (*)(void)>(GetProcAddress(library, name)));
}

}  // namespace

BOOL LoadVersionLibrary(void) {
  static const CHAR FileName[] = "\\version.dll";
  CHAR path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + sizeof FileName > MAX_PATH) return FALSE;
  lstrcatA(path, FileName);
  // Its own imports are looked for beside it, in the system directory.
  HMODULE library = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library) return FALSE;
  SizeFunction = Find<SizeCall>(library, "GetFileVersionInfoSizeA");
  InfoFunction = Find<InfoCall>(library, "GetFileVersionInfoA");
  QueryFunction = Find<QueryCall>(library, "VerQueryValueA");
  return SizeFunction && InfoFunction && QueryFunction;
}

DWORD WINAPI LoadedGetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle) {
  return SizeFunction(path, handle);
}

BOOL WINAPI LoadedGetFileVersionInfoA(LPCSTR path, DWORD handle,
                                      DWORD length, LPVOID data) {
  return InfoFunction(path, handle, length, data);
}

BOOL WINAPI LoadedVerQueryValueA(LPCVOID block, LPCSTR subBlock,
                                 LPVOID *value, PUINT length) {
  return QueryFunction(block, subBlock, value, length);
}
