#include "update_library_copy.h"

#include <stdio.h>

#include "library_version.h"

PathBuffer SourceLibraryPath;
int FailedUpdateCount = 0;

namespace {

// Puts the source library under copyPath, keeping the copy as backupPath.
// True only once the new library is in place; otherwise the old one still
// is, as far as the system lets it be put back.
bool ReplaceCopy(LPCSTR copyPath, LPCSTR backupPath) {
  // A backup from an earlier run is kept; the copy is overwritten in place.
  if (!MoveFileA(copyPath, backupPath))
    return CopyFileA(SourceLibraryPath, copyPath, FALSE) != FALSE;
  if (CopyFileA(SourceLibraryPath, copyPath, FALSE)) return true;
  // Never leave an application without its library; whatever a failed
  // copy left under the copy's name gives way to it.
  MoveFileExA(backupPath, copyPath, MOVEFILE_REPLACE_EXISTING);
  return false;
}

}  // namespace

void UpdateLibraryCopy(LPCSTR directory, LPCSTR name) {
  PathBuffer copyPath, backupPath;
  // A path the system cannot take has no version it can read.
  double version = JoinPath(copyPath, directory, name, "")
                       ? GetLibraryVersion(copyPath)
                       : NoVersionValue;
  if (!(version < MinimumLibraryVersion)) return;
  if (JoinPath(backupPath, directory, name, ".old") &&
      ReplaceCopy(copyPath, backupPath)) {
    printf("Updated: %s%s\n", directory, name);
  } else {
    printf("Update failed: %s%s\n", directory, name);
    ++FailedUpdateCount;
  }
}
