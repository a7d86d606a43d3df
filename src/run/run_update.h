// The program's whole life: banner, system gate, search and update, report.
#ifndef ZNUPDATE_RUN_RUN_UPDATE_H
#define ZNUPDATE_RUN_RUN_UPDATE_H

// The library's name as searched for, compared ignoring case.
extern const char LibraryFileName[];

// Returns the exit code: 0 when every outdated copy was replaced, 1 on a
// system the program refuses or without the version library, 2 when some
// copy could not be replaced.
int RunUpdate(void);

#endif
