// What the POSIX services share: the emulated machine's state and the
// translation of Windows paths to host paths.
#ifndef ZNUPDATE_PLATFORM_MACHINE_STATE_H
#define ZNUPDATE_PLATFORM_MACHINE_STATE_H

#include <string>

#include "emulated_machine.h"

// The drive type of a letter; DRIVE_NO_ROOT_DIR when it is not mapped.
UINT EmulatedDriveType(char letter);

// The version record, or null when the machine has none.
const EmulatedVersion *EmulatedVersionRecord();

// The error injected into `operation` on `windowsPath`, or 0 for none.
DWORD InjectedFault(EmulatedOperation operation, const char *windowsPath);

// Translates a Windows path ("C:\dir\name", or relative to the current
// directory as in ".\name") to a host path. A component that does not exist
// under its own spelling names the entry that matches it ignoring case, as
// on Windows. Fails, with the last error set, for an unmapped drive, a ".."
// component or a name Windows cannot hold.
bool ToHostPath(const char *windowsPath, std::string *hostPath);

// True for a name Windows cannot hold: empty, ".", "..", or with \ / : * ?
// " < > | or a control character.
bool IsForbiddenName(const char *name);

// The read-only, hidden and system bits that Wine and Samba keep as text
// ("0x4") in the extended attribute user.DOSATTRIB; 0 where there is none.
DWORD StoredDosAttributes(const std::string &hostPath);

// The upper-case form that Windows compares names by.
char UpperCaseOf(char c);

#endif
