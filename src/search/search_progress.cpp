#include "search_progress.h"

#include <stdio.h>

namespace {

// A few times a second: often enough to see it move, rarely enough to cost
// nothing next to the listings.
const DWORD ProgressInterval = 250;

CHAR SavedTitle[MAX_PATH];
bool TitleSaved = false;
int FoldersSearched = 0;
DWORD LastUpdate = 0;

}  // namespace

void BeginSearchProgress(void) {
  TitleSaved = GetConsoleTitleA(SavedTitle, sizeof SavedTitle) > 0;
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
  SetConsoleTitleA(title);
}

void EndSearchProgress(void) {
  if (TitleSaved) SetConsoleTitleA(SavedTitle);
}
