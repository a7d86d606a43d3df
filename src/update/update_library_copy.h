// Replaces an outdated copy of the library with the source library, keeping
// the copy under its name with ".old" appended.
#ifndef ZNUPDATE_UPDATE_UPDATE_LIBRARY_COPY_H
#define ZNUPDATE_UPDATE_UPDATE_LIBRARY_COPY_H

#include "path_buffer.h"

// The replacement library; set once before the search starts.
extern PathBuffer SourceLibraryPath;

// How many outdated copies could not be replaced so far.
extern int FailedUpdateCount;

// The search's visitor: checks the copy directory + name and, when it is
// outdated, replaces it and prints whether that succeeded.
void UpdateLibraryCopy(LPCSTR directory, LPCSTR name);

#endif
