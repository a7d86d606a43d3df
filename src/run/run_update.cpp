#include "run_update.h"

#include <stdio.h>

#include "file_search.h"
#include "system_gate.h"
#include "update_library_copy.h"

const char LibraryFileName[] = "ZNDEV32.DLL";

int RunUpdate(void) {
  printf("***********************************************************\n");
  printf("***\tWelcome to the ZERNA Systems Film Digitizer\t***\n"
         "***\tProgramming Library File Update Program\t\t***\n");
  printf("***********************************************************\n\n");
  CheckSystemVersion();
  if (!SupportedSystem) {
    printf("ERROR 102: The update program will not run on Windows 95, 98, "
           "ME, or NT operating systems.\n");
    printf("Exiting...\n");
    return 1;
  }
  // Without the version library every copy would read as outdated.
  if (!LoadVersionLibrary()) {
    printf("ERROR 103: The version library (version.dll) could not be "
           "loaded from the system directory.\n");
    return 1;
  }
  // The replacement is the library in the current directory, which is
  // where the administrator starts the program from.
  lstrcpyA(SourceLibraryPath, ".\\");
  lstrcatA(SourceLibraryPath, LibraryFileName);
  printf("Searching all local drives for copies of Zndev32.dll, please "
         "wait...\n\n");
  int found = SearchDrives(DRIVE_FIXED, true, LibraryFileName,
                           UpdateLibraryCopy);
  printf("Number of Zndev32.dll files found = %d\n\n", found);
  printf("Exiting, press any key to quit.\n");
  // The prompt must be on screen before the program waits.
  fflush(stdout);
  getchar();
  return FailedUpdateCount ? 2 : 0;
}
