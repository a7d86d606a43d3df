/* The mistake the update program must not make: importing version.dll
   statically, so that the loader takes a planted copy from the program's
   folder. The hijacking test runs this to show that it can fail. */
#include <stdio.h>
#include <windows.h>

int main(int argc, char **argv) {
  DWORD handle;
  (void)argc;
  printf("%lu\n", GetFileVersionInfoSizeA(argv[0], &handle));
  return 0;
}
