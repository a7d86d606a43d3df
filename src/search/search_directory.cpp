#include "file_search.h"
#include "link_cycle.h"
#include "path_buffer.h"
#include "search_progress.h"

namespace {

// Whether a directory entry is to be searched: not "." or "..", nor any
// name starting with a dot, nor a directory the system marks as its own.
bool QualifiesForSearch(const WIN32_FIND_DATAA &entry) {
  return entry.cFileName[0] != '.' &&
         !(entry.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM);
}

// Builds the path of a subdirectory to enter. False when it or its listing
// pattern would not fit a path buffer, or when it is a link back into the
// directory being searched, which would make the walk endless.
bool BuildSubdirectoryPath(LPCSTR directory, const WIN32_FIND_DATAA &entry,
                           PathBuffer subdirectory) {
  if (lstrlenA(directory) + lstrlenA(entry.cFileName) + lstrlenA("\\*.*") >=
          MAX_PATH ||
      !JoinPath(subdirectory, directory, entry.cFileName, "\\"))
    return false;
  // Only links and junctions can lead back up; plain directories cost
  // nothing here.
  return !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
         !LeadsToAncestor(subdirectory, directory);
}

}  // namespace

int SearchDirectory(bool recurse, LPCSTR directory, LPCSTR fileName,
                    FileVisitor visitor) {
  PathBuffer pattern, subdirectory;
  WIN32_FIND_DATAA entry;
  if (!JoinPath(pattern, directory, "*.*", "")) return 0;
  HANDLE listing = FindFirstFileA(pattern, &entry);
  // Unreadable directories are passed over in silence.
  if (listing == INVALID_HANDLE_VALUE) return 0;
  ReportFolderSearched(directory);
  int count = 0;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (recurse && QualifiesForSearch(entry) &&
          BuildSubdirectoryPath(directory, entry, subdirectory))
        count += SearchDirectory(recurse, subdirectory, fileName, visitor);
    } else if (lstrcmpiA(entry.cFileName, fileName) == 0) {
      visitor(directory, entry.cFileName);
      ++count;
    }
  } while (FindNextFileA(listing, &entry) == TRUE);
  FindClose(listing);
  return count;
}
