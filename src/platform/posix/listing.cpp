// Directory listings of the emulated machine. A listing is read whole when
// it opens, so renames and copies made while it is open never change it, and
// it is returned in the order NTFS keeps: names compared in upper case.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "machine_state.h"

namespace {

// Names and their upper-case sort keys live in one block of text per
// listing; an entry holds their offsets.
struct Entry {
  uint32_t name;
  uint32_t key;
  DWORD attributes;
};

struct Listing {
  std::string text;
  std::vector<Entry> entries;
  size_t next = 0;

  void Add(const char *name, DWORD attributes) {
    size_t length = strlen(name) + 1;
    Entry entry = {(uint32_t)text.size(), (uint32_t)(text.size() + length),
                   attributes};
    text.append(name, length);
    for (size_t i = 0; i < length; ++i) text += UpperCaseOf(name[i]);
    entries.push_back(entry);
  }
};

// The attributes of one entry, following links; false for a dangling link
// or an entry that vanished, which the listing passes over.
bool EntryAttributes(int directoryHandle, const std::string &hostDirectory,
                     const struct dirent *item, DWORD *attributes) {
  bool isDirectory = item->d_type == DT_DIR;
  bool isLink = item->d_type == DT_LNK;
  if (item->d_type == DT_UNKNOWN || isLink) {
    struct stat status;
    if (fstatat(directoryHandle, item->d_name, &status, AT_SYMLINK_NOFOLLOW))
      return false;
    isLink = S_ISLNK(status.st_mode);
    if (isLink && fstatat(directoryHandle, item->d_name, &status, 0))
      return false;
    isDirectory = S_ISDIR(status.st_mode);
  }
  *attributes = isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  // Windows reports links and junctions as reparse points.
  if (isLink) *attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  // Hidden and system matter only for directories; reading them for every
  // file would cost a call per file of the walk.
  if (isDirectory)
    *attributes |=
        StoredDosAttributes(hostDirectory + "/" + item->d_name);
  return true;
}

void Store(const Listing &listing, const Entry &entry,
           LPWIN32_FIND_DATAA data) {
  // Only the fields the program reads are filled: zeroing the whole record
  // for each of a million entries would cost more than the rest.
  const char *name = listing.text.c_str() + entry.name;
  data->dwFileAttributes = entry.attributes;
  memcpy(data->cFileName, name, entry.key - entry.name);
  data->cAlternateFileName[0] = '\0';
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  const char *last = strrchr(pattern, '\\');
  if (!last || (strcmp(last + 1, "*.*") && strcmp(last + 1, "*"))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string windowsDirectory(pattern, last + 1 - pattern);
  if (DWORD fault = InjectedFault(EmulatedOperation::List,
                                  windowsDirectory.c_str())) {
    SetLastError(fault);
    return INVALID_HANDLE_VALUE;
  }
  std::string hostDirectory;
  if (!ToHostPath(windowsDirectory.c_str(), &hostDirectory))
    return INVALID_HANDLE_VALUE;
  DIR *directory = opendir(hostDirectory.c_str());
  if (!directory) {
    SetLastError(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }

  Listing *listing = new Listing;
  // Every directory but a drive root lists itself and its parent first.
  bool isDriveRoot =
      windowsDirectory.size() == 3 && windowsDirectory[1] == ':';
  if (!isDriveRoot) {
    listing->Add(".", FILE_ATTRIBUTE_DIRECTORY);
    listing->Add("..", FILE_ATTRIBUTE_DIRECTORY);
  }
  size_t dots = listing->entries.size();
  while (struct dirent *item = readdir(directory)) {
    DWORD attributes;
    if (!IsForbiddenName(item->d_name) && strlen(item->d_name) < MAX_PATH &&
        EntryAttributes(dirfd(directory), hostDirectory, item, &attributes))
      listing->Add(item->d_name, attributes);
  }
  closedir(directory);
  const char *text = listing->text.c_str();
  std::sort(listing->entries.begin() + dots, listing->entries.end(),
            [text](const Entry &first, const Entry &second) {
              return strcmp(text + first.key, text + second.key) < 0;
            });
  if (listing->entries.empty()) {
    delete listing;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  Store(*listing, listing->entries[0], data);
  listing->next = 1;
  return listing;
}

BOOL FindNextFileA(HANDLE handle, LPWIN32_FIND_DATAA data) {
  Listing *listing = static_cast<Listing *>(handle);
  if (listing->next >= listing->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  Store(*listing, listing->entries[listing->next++], data);
  return TRUE;
}

BOOL FindClose(HANDLE handle) {
  delete static_cast<Listing *>(handle);
  return TRUE;
}
