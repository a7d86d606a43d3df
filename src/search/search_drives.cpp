#include "file_search.h"
#include "search_progress.h"

int SearchDrives(UINT driveType, bool recurse, LPCSTR fileName,
                 FileVisitor visitor) {
  // No "insert a disk" dialog may stop an unattended scan.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  BeginSearchProgress();
  CHAR root[] = "x:\\";
  int total = 0;
  for (CHAR letter = 'A'; letter <= 'Z'; ++letter) {
    root[0] = letter;
    if (GetDriveTypeA(root) == driveType)
      total += SearchDirectory(recurse, root, fileName, visitor);
  }
  EndSearchProgress();
  SetErrorMode(0);
  return total;
}
