// Links and junctions can lead a walk back into a directory it is already
// inside; this tells when one does.
#ifndef ZNUPDATE_SEARCH_LINK_CYCLE_H
#define ZNUPDATE_SEARCH_LINK_CYCLE_H

#include "system_services.h"

// Whether the directory at linkPath is `directory` itself or one of its
// ancestors (`directory` ends with a backslash). Also true when the link's
// target cannot be identified, since entering it could then never end.
bool LeadsToAncestor(LPCSTR linkPath, LPCSTR directory);

#endif
