// Paths as the program keeps them: 8-bit text in fixed buffers of the
// system's MAX_PATH characters, a directory always ending with a backslash.
#ifndef ZNUPDATE_COMMON_PATH_BUFFER_H
#define ZNUPDATE_COMMON_PATH_BUFFER_H

#include "system_services.h"

typedef CHAR PathBuffer[MAX_PATH];

// Writes first + second + third into path when the whole, with its
// terminating zero, fits; otherwise writes nothing and returns false.
bool JoinPath(PathBuffer path, LPCSTR first, LPCSTR second, LPCSTR third);

#endif
