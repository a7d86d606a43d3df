// Shows the walk moving: the console window's title names the drive being
// searched and the number of folders searched so far. The search prints
// nothing while it runs, and on a workstation it runs for minutes.
#ifndef ZNUPDATE_SEARCH_SEARCH_PROGRESS_H
#define ZNUPDATE_SEARCH_SEARCH_PROGRESS_H

#include "system_services.h"

// Keeps the window's title, to be put back when the search ends, even when
// it is empty.
void BeginSearchProgress(void);

// Counts one folder searched; retitles the window at most every
// ProgressInterval milliseconds.
void ReportFolderSearched(LPCSTR directory);

// Puts the window's original title back.
void EndSearchProgress(void);

#endif
