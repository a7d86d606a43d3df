// The version number of a copy of the library: the major and minor halves
// of its file version read as one real number, compared with 4.1.
#ifndef ZNUPDATE_UPDATE_LIBRARY_VERSION_H
#define ZNUPDATE_UPDATE_LIBRARY_VERSION_H

#include "system_services.h"

// Copies below this version are outdated.
extern const double MinimumLibraryVersion;

// The version of a file whose version resource cannot be read.
extern const double NoVersionValue;

// major + minor scaled by its number of decimal digits (4.25 -> 4.25), with
// the single-precision scales that earlier releases of this program used,
// so that 4.1 and 4.100 are current while 4.10 and 4.1000 are not.
double VersionNumber(WORD major, WORD minor);

// The version number of the file at path, or NoVersionValue.
double GetLibraryVersion(LPCSTR path);

#endif
