// Feeds arbitrary files to the version library's calls, as the program
// makes them: size, read into a buffer of exactly that size, query the
// root block. What the query returns must lie inside that buffer.
#include <fcntl.h>
#include <sys/stat.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "emulated_machine.h"

namespace {

// Every byte of the returned value is read into this, so that the
// sanitizers see a read past the buffer.
volatile char Sink;

// The library file of every input: drive C: of the emulated machine is a
// folder in the current directory.
int LibraryFile() {
  static int descriptor = -1;
  if (descriptor < 0) {
    char folder[4096];
    if (!getcwd(folder, sizeof folder - 32)) abort();
    strcat(folder, "/fuzz-drive-c");
    mkdir(folder, 0755);
    MapEmulatedDrive('C', folder, DRIVE_FIXED);
    strcat(folder, "/zndev32.dll");
    descriptor = open(folder, O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (descriptor < 0) abort();
  }
  return descriptor;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  int file = LibraryFile();
  if (ftruncate(file, 0) || pwrite(file, data, size, 0) != (ssize_t)size)
    abort();
  DWORD handle;
  DWORD resourceSize = GetFileVersionInfoSizeA("C:\\zndev32.dll", &handle);
  if (resourceSize == 0) return 0;
  char *resource = (char *)malloc(resourceSize);
  LPVOID value;
  UINT length;
  if (GetFileVersionInfoA("C:\\zndev32.dll", handle, resourceSize, resource) &&
      VerQueryValueA(resource, "\\", &value, &length)) {
    const char *start = (const char *)value;
    if (start < resource || length > resourceSize ||
        start + length > resource + resourceSize || length < 52)
      abort();
    for (UINT i = 0; i < length; ++i) Sink = Sink ^ start[i];
  }
  free(resource);
  return 0;
}
