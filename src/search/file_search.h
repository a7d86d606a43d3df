// Finds every file of one name on the drives of one type, depth first,
// handing each match to a visitor and counting the matches.
#ifndef ZNUPDATE_SEARCH_FILE_SEARCH_H
#define ZNUPDATE_SEARCH_FILE_SEARCH_H

#include "system_services.h"

// Called once per match: directory ends with a backslash, name is the
// entry's name as the listing reports it.
typedef void (*FileVisitor)(LPCSTR directory, LPCSTR name);

// Searches the root of every drive of driveType, A: to Z:, and returns the
// number of matches.
int SearchDrives(UINT driveType, bool recurse, LPCSTR fileName,
                 FileVisitor visitor);

// Searches one directory (ending with a backslash) and, with recurse, the
// directories below it; returns the number of matches.
int SearchDirectory(bool recurse, LPCSTR directory, LPCSTR fileName,
                    FileVisitor visitor);

#endif
