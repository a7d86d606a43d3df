// The least a walk of every fixed drive can do: list each folder with
// FindFirstFileA/FindNextFileA and enter its subfolders. No version reads,
// no output, no progress, no guards: the floor the program is measured
// against.
#include "system_services.h"

namespace {

int Walk(const CHAR *directory, int length) {
  CHAR path[MAX_PATH];
  WIN32_FIND_DATAA entry;
  if (length + 4 > MAX_PATH) return 0;
  lstrcpyA(path, directory);
  lstrcpyA(path + length, "*.*");
  HANDLE listing = FindFirstFileA(path, &entry);
  if (listing == INVALID_HANDLE_VALUE) return 0;
  int entries = 0;
  do {
    ++entries;
    int nameLength = lstrlenA(entry.cFileName);
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        entry.cFileName[0] != '.' && length + nameLength + 5 <= MAX_PATH) {
      lstrcpyA(path + length, entry.cFileName);
      lstrcpyA(path + length + nameLength, "\\");
      entries += Walk(path, length + nameLength + 1);
    }
  } while (FindNextFileA(listing, &entry));
  FindClose(listing);
  return entries;
}

}  // namespace

int main() {
  CHAR root[] = "x:\\";
  int entries = 0;
  for (CHAR letter = 'A'; letter <= 'Z'; ++letter) {
    root[0] = letter;
    if (GetDriveTypeA(root) == DRIVE_FIXED) entries += Walk(root, 3);
  }
  return entries < 0;
}
