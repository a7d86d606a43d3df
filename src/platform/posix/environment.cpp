// Reads the emulated machine from the program's environment:
//   ZNUPDATE_WINVER=winxp             the Windows version (Wine's names)
//   ZNUPDATE_DRIVE_C=/host/dir        maps a drive letter to a directory
//   ZNUPDATE_DRIVE_C_TYPE=fixed       its type (fixed when unset)
#include <string.h>
#include <sys/stat.h>

#include "machine_state.h"

extern char **environ;

namespace {

const char Prefix[] = "ZNUPDATE_";
const char DrivePrefix[] = "ZNUPDATE_DRIVE_";

struct NamedType {
  const char *name;
  UINT type;
};

const NamedType DriveTypes[] = {
    {"fixed", DRIVE_FIXED},   {"removable", DRIVE_REMOVABLE},
    {"remote", DRIVE_REMOTE}, {"cdrom", DRIVE_CDROM},
    {"ramdisk", DRIVE_RAMDISK},
};

bool Fail(std::string *error, const std::string &message) {
  *error = "znupdate: " + message;
  return false;
}

// The drive letter a ZNUPDATE_DRIVE_X or ZNUPDATE_DRIVE_X_TYPE name is
// about, or 0 for another name.
char DriveLetterOf(const std::string &name, bool *isType) {
  size_t length = sizeof DrivePrefix - 1;
  if (name.compare(0, length, DrivePrefix) || name.size() <= length) return 0;
  char letter = name[length];
  std::string rest = name.substr(length + 1);
  if (letter < 'A' || letter > 'Z' || (!rest.empty() && rest != "_TYPE"))
    return 0;
  *isType = !rest.empty();
  return letter;
}

}  // namespace

bool ConfigureEmulatedMachineFromEnvironment(std::string *error) {
  ResetEmulatedMachine();
  const char *directories[26] = {};
  const char *types[26] = {};
  for (char **variable = environ; *variable; ++variable) {
    const char *equals = strchr(*variable, '=');
    if (!equals || strncmp(*variable, Prefix, sizeof Prefix - 1)) continue;
    std::string name(*variable, equals - *variable);
    const char *value = equals + 1;
    bool isType = false;
    if (name == "ZNUPDATE_WINVER") {
      EmulatedVersion version;
      if (!FindEmulatedVersion(value, &version))
        return Fail(error,
                    "ZNUPDATE_WINVER=" + std::string(value) +
                        " is not one of win31, win95, win98, winme, nt40, "
                        "win2k, winxp, win2003, vista, win7, win8, win10");
      SetEmulatedVersion(&version);
    } else if (char letter = DriveLetterOf(name, &isType)) {
      if (isType)
        types[letter - 'A'] = value;
      else
        directories[letter - 'A'] = value;
    } else {
      return Fail(error, name + " is not a setting of the emulated machine");
    }
  }

  for (int i = 0; i < 26; ++i) {
    std::string variable = std::string(DrivePrefix) + (char)('A' + i);
    if (!directories[i]) {
      if (types[i])
        return Fail(error, variable + "_TYPE is set but " + variable +
                               " is not");
      continue;
    }
    std::string directory = directories[i];
    struct stat status;
    if (directory[0] != '/')
      return Fail(error, variable + "=" + directory +
                             " is not an absolute path");
    if (stat(directory.c_str(), &status) || !S_ISDIR(status.st_mode))
      return Fail(error, variable + "=" + directory + " is not a directory");
    UINT type = DRIVE_FIXED;
    if (types[i]) {
      type = DRIVE_UNKNOWN;
      for (const NamedType &known : DriveTypes)
        if (!strcmp(types[i], known.name)) type = known.type;
      if (type == DRIVE_UNKNOWN)
        return Fail(error, variable + "_TYPE=" + types[i] +
                               " is not one of fixed, removable, remote, "
                               "cdrom, ramdisk");
    }
    MapEmulatedDrive((char)('A' + i), directory, type);
  }
  return true;
}
