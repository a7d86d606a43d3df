#include "machine_state.h"

#include <dirent.h>
#include <errno.h>
#include <string.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <vector>

namespace {

struct Drive {
  std::string hostDirectory;
  UINT type = DRIVE_NO_ROOT_DIR;
};

struct Fault {
  EmulatedOperation operation;
  std::string windowsPath;
  DWORD error;
};

Drive Drives[26];
bool HasVersion = false;
EmulatedVersion Version;
std::vector<Fault> Faults;

struct NamedVersion {
  const char *name;
  EmulatedVersion version;
};

// The records the real systems report (and Wine reports for these names).
const NamedVersion KnownVersions[] = {
    {"win31", {VER_PLATFORM_WIN32s, 3, 10, 0, false}},
    {"win95", {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950, false}},
    {"win98", {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222, false}},
    {"winme", {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000, false}},
    {"nt40", {VER_PLATFORM_WIN32_NT, 4, 0, 1381, false}},
    {"win2k", {VER_PLATFORM_WIN32_NT, 5, 0, 2195, true}},
    {"winxp", {VER_PLATFORM_WIN32_NT, 5, 1, 2600, true}},
    {"win2003", {VER_PLATFORM_WIN32_NT, 5, 2, 3790, true}},
    {"vista", {VER_PLATFORM_WIN32_NT, 6, 0, 6002, true}},
    {"win7", {VER_PLATFORM_WIN32_NT, 6, 1, 7601, true}},
    {"win8", {VER_PLATFORM_WIN32_NT, 6, 2, 9200, true}},
    {"win10", {VER_PLATFORM_WIN32_NT, 10, 0, 19043, true}},
};

// The entry of `hostDirectory` whose name equals `name` ignoring case.
bool FindEntryIgnoringCase(const std::string &hostDirectory,
                           const std::string &name, std::string *entry) {
  DIR *directory = opendir(hostDirectory.c_str());
  if (!directory) return false;
  bool found = false;
  while (struct dirent *item = readdir(directory)) {
    if (!lstrcmpiA(item->d_name, name.c_str())) {
      *entry = item->d_name;
      found = true;
      break;
    }
  }
  closedir(directory);
  return found;
}

}  // namespace

void ResetEmulatedMachine() {
  for (Drive &drive : Drives) drive = Drive();
  HasVersion = false;
  Faults.clear();
}

void MapEmulatedDrive(char letter, const std::string &hostDirectory,
                      UINT driveType) {
  Drive &drive = Drives[UpperCaseOf(letter) - 'A'];
  drive.hostDirectory = hostDirectory;
  drive.type = driveType;
}

void SetEmulatedVersion(const EmulatedVersion *version) {
  HasVersion = version != nullptr;
  if (version) Version = *version;
}

bool FindEmulatedVersion(const std::string &name, EmulatedVersion *version) {
  for (const NamedVersion &known : KnownVersions) {
    if (name == known.name) {
      *version = known.version;
      return true;
    }
  }
  return false;
}

void InjectEmulatedFault(EmulatedOperation operation,
                         const std::string &windowsPath, DWORD error) {
  Faults.push_back(Fault{operation, windowsPath, error});
}

UINT EmulatedDriveType(char letter) {
  char upper = UpperCaseOf(letter);
  if (upper < 'A' || upper > 'Z') return DRIVE_NO_ROOT_DIR;
  return Drives[upper - 'A'].type;
}

const EmulatedVersion *EmulatedVersionRecord() {
  return HasVersion ? &Version : nullptr;
}

DWORD InjectedFault(EmulatedOperation operation, const char *windowsPath) {
  for (const Fault &fault : Faults)
    if (fault.operation == operation &&
        !lstrcmpiA(fault.windowsPath.c_str(), windowsPath))
      return fault.error;
  return 0;
}

DWORD StoredDosAttributes(const std::string &hostPath) {
  char text[64];
  ssize_t length = getxattr(hostPath.c_str(), "user.DOSATTRIB", text,
                            sizeof text - 1);
  if (length < 3) return 0;
  text[length] = '\0';
  if (text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return 0;
  return strtoul(text + 2, nullptr, 16) &
         (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
          FILE_ATTRIBUTE_SYSTEM);
}

char UpperCaseOf(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

bool IsForbiddenName(const char *name) {
  if (!*name || !strcmp(name, ".") || !strcmp(name, "..")) return true;
  for (const char *c = name; *c; ++c)
    if ((unsigned char)*c < 32 || strchr("\\/:*?\"<>|", *c)) return true;
  return false;
}

bool ToHostPath(const char *windowsPath, std::string *hostPath) {
  std::string base = ".";
  const char *rest = windowsPath;
  if (windowsPath[0] && windowsPath[1] == ':') {
    char letter = UpperCaseOf(windowsPath[0]);
    if (letter < 'A' || letter > 'Z' || Drives[letter - 'A'].type ==
                                            DRIVE_NO_ROOT_DIR) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return false;
    }
    // Drive-relative paths ("C:name") name a per-drive directory that the
    // emulated machine does not keep.
    if (windowsPath[2] != '\\' && windowsPath[2] != '/') {
      SetLastError(ERROR_INVALID_NAME);
      return false;
    }
    base = Drives[letter - 'A'].hostDirectory;
    rest = windowsPath + 3;
  } else if (windowsPath[0] == '\\' || windowsPath[0] == '/') {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }

  std::vector<std::string> components;
  std::string component;
  for (const char *c = rest;; ++c) {
    if (*c && *c != '\\' && *c != '/') {
      component += *c;
      continue;
    }
    if (!component.empty() && component != ".") {
      // ".." would climb out of a drive's host directory.
      if (IsForbiddenName(component.c_str())) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
      }
      components.push_back(component);
    }
    component.clear();
    if (!*c) break;
  }

  std::string exact = base;
  for (const std::string &name : components) exact += "/" + name;
  struct stat status;
  if (lstat(exact.c_str(), &status) == 0 || errno != ENOENT) {
    *hostPath = exact;
    return true;
  }

  // Some component is spelled in another case than on disk.
  std::string resolved = base;
  size_t i = 0;
  for (; i < components.size(); ++i) {
    std::string next = resolved + "/" + components[i];
    if (lstat(next.c_str(), &status) == 0) {
      resolved = next;
      continue;
    }
    std::string entry;
    if (!FindEntryIgnoringCase(resolved, components[i], &entry)) break;
    resolved += "/" + entry;
  }
  for (; i < components.size(); ++i) resolved += "/" + components[i];
  *hostPath = resolved;
  return true;
}
