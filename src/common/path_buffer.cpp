#include "path_buffer.h"

bool JoinPath(PathBuffer path, LPCSTR first, LPCSTR second, LPCSTR third) {
  if (lstrlenA(first) + lstrlenA(second) + lstrlenA(third) >= MAX_PATH)
    return false;
  lstrcpyA(path, first);
  lstrcatA(path, second);
  lstrcatA(path, third);
  return true;
}
