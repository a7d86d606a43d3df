// The emulated Windows machine that the POSIX services serve: drive letters
// mapped to host directories, a drive type per letter, a Windows version
// record, and faults that tests can inject into file operations.
#ifndef ZNUPDATE_PLATFORM_EMULATED_MACHINE_H
#define ZNUPDATE_PLATFORM_EMULATED_MACHINE_H

#include <string>

#include "system_services.h"

struct EmulatedVersion {
  DWORD platformId;
  DWORD majorVersion;
  DWORD minorVersion;
  DWORD buildNumber;
  // Systems before Windows 2000 reject the extended record (size 156).
  bool acceptsExtendedRecord;
};

// The operations a fault can be injected into.
enum class EmulatedOperation { Move, Copy, List, ReadVersion, LoadLibrary };

// Forgets drives, version and faults: no drives, no version record.
void ResetEmulatedMachine();

// Maps a letter (A-Z) to a host directory with a GetDriveTypeA code.
void MapEmulatedDrive(char letter, const std::string &hostDirectory,
                      UINT driveType);

// No record makes both GetVersionExA queries fail.
void SetEmulatedVersion(const EmulatedVersion *version);

// Finds the record for one of Wine's version names (win2k, winxp, ...);
// false for an unknown name.
bool FindEmulatedVersion(const std::string &name, EmulatedVersion *version);

// From now on, `operation` on `windowsPath` (compared ignoring case; for a
// move or copy, its source or target; for a listing, the directory with
// its trailing backslash; for loading a library, its file name such as
// "version.dll") fails with `error`, until reset.
void InjectEmulatedFault(EmulatedOperation operation,
                         const std::string &windowsPath, DWORD error);

// Sets the machine from ZNUPDATE_* environment variables. On a malformed
// value returns false with a one-line message in `error`.
bool ConfigureEmulatedMachineFromEnvironment(std::string *error);

#endif
