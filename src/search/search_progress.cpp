#include "search_progress.h"

#include <stdio.h>

namespace {

// A few times a second: often enough to see it move, rarely enough to cost
// nothing next to the listings.
const DWORD ProgressInterval = 250;

// Console titles can be long; one cut short is still better than none.
CHAR SavedTitle[1024];
bool TitleChanged = false;
int FoldersSearched = 0;
DWORD LastUpdate = 0;

}  // namespace

void BeginSearchProgress(void) {
  // An empty title reads as a failure; it is put back all the same.
  if (!GetConsoleTitleA(SavedTitle, sizeof SavedTitle)) SavedTitle[0] = '\0';
  TitleChanged = false;
  FoldersSearched = 0;
  LastUpdate = GetTickCount() - ProgressInterval;
}

void ReportFolderSearched(LPCSTR directory) {
  ++FoldersSearched;
  DWORD now = GetTickCount();
  if (now - LastUpdate < ProgressInterval) return;
  LastUpdate = now;
  CHAR title[64];
  snprintf(title, sizeof title, "Searching %.3s (folders searched: %d)",
           directory, FoldersSearched);
  TitleChanged = SetConsoleTitleA(title) != FALSE;
}

void EndSearchProgress(void) {
  if (TitleChanged) SetConsoleTitleA(SavedTitle);
}
