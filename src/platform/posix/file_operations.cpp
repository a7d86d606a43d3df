// Moves, copies and identities of files on the emulated machine, with the
// guarantees of Windows that the program relies on: a move never replaces
// a file, and a copy either lands whole under its target name or not at all.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "machine_state.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

struct FileHandle {
  int descriptor;
};

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: case ENOTEMPTY: return ERROR_ALREADY_EXISTS;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_ACCESS_DENIED;
  }
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Fails the operation when a fault was injected into either of its paths.
bool Injected(EmulatedOperation operation, LPCSTR source, LPCSTR target) {
  DWORD fault = InjectedFault(operation, source);
  if (!fault) fault = InjectedFault(operation, target);
  if (fault) SetLastError(fault);
  return fault != 0;
}

// Renames without ever replacing an existing target.
bool RenameNoReplace(const std::string &source, const std::string &target) {
  if (syscall(SYS_renameat2, AT_FDCWD, source.c_str(), AT_FDCWD,
              target.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the flag: a hard link fails on an existing target.
  struct stat status;
  if (lstat(source.c_str(), &status)) return false;
  if (S_ISDIR(status.st_mode)) {
    if (lstat(target.c_str(), &status) == 0) {
      errno = EEXIST;
      return false;
    }
    return rename(source.c_str(), target.c_str()) == 0;
  }
  if (link(source.c_str(), target.c_str())) return false;
  return unlink(source.c_str()) == 0;
}

// Windows refuses to overwrite a read-only or hidden file.
bool RefusesOverwrite(const std::string &hostPath, const struct stat &status) {
  if (S_ISDIR(status.st_mode)) return true;
  if (!(status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) return true;
  return (StoredDosAttributes(hostPath) &
          (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) != 0;
}

// Copies all of `source` into `target`.
bool CopyContents(int source, int target) {
  char buffer[65536];
  for (;;) {
    ssize_t length = read(source, buffer, sizeof buffer);
    if (length == 0) return true;
    if (length < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t written = 0; written < length;) {
      ssize_t part = write(target, buffer + written, length - written);
      if (part < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      written += part;
    }
  }
}

}  // namespace

BOOL MoveFileA(LPCSTR existing, LPCSTR target) {
  return MoveFileExA(existing, target, 0);
}

BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
  if (Injected(EmulatedOperation::Move, existing, target)) return FALSE;
  std::string hostSource, hostTarget;
  if (!ToHostPath(existing, &hostSource) || !ToHostPath(target, &hostTarget))
    return FALSE;
  if (!(flags & MOVEFILE_REPLACE_EXISTING)) {
    if (!RenameNoReplace(hostSource, hostTarget))
      return Fail(ErrorFromErrno(errno));
    return TRUE;
  }
  struct stat status;
  if (lstat(hostTarget.c_str(), &status) == 0 &&
      RefusesOverwrite(hostTarget, status))
    return Fail(ERROR_ACCESS_DENIED);
  if (rename(hostSource.c_str(), hostTarget.c_str()))
    return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  if (Injected(EmulatedOperation::Copy, existing, target)) return FALSE;
  std::string hostSource, hostTarget;
  if (!ToHostPath(existing, &hostSource) || !ToHostPath(target, &hostTarget))
    return FALSE;
  // Non-blocking, so that a FIFO of the source's name cannot stall the run.
  int source = open(hostSource.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (source < 0) return Fail(ErrorFromErrno(errno));
  struct stat sourceStatus, targetStatus;
  if (fstat(source, &sourceStatus) || !S_ISREG(sourceStatus.st_mode)) {
    close(source);
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (lstat(hostTarget.c_str(), &targetStatus) == 0) {
    DWORD error = failIfExists ? ERROR_FILE_EXISTS
                  : RefusesOverwrite(hostTarget, targetStatus)
                      ? ERROR_ACCESS_DENIED
                      : ERROR_SUCCESS;
    if (error) {
      close(source);
      return Fail(error);
    }
  }

  // Written beside the target under a temporary name, then renamed over it:
  // a failure leaves no half-written file under the target's name.
  std::string slash = hostTarget.substr(0, hostTarget.rfind('/') + 1);
  std::string temporary = slash + ".znupdate-copy-XXXXXX";
  int copy = mkostemp(&temporary[0], O_CLOEXEC);
  if (copy < 0) {
    close(source);
    return Fail(ErrorFromErrno(errno));
  }
  bool copied = CopyContents(source, copy) &&
                fchmod(copy, sourceStatus.st_mode & 07777) == 0 &&
                fsync(copy) == 0;
  int error = errno;
  close(source);
  if (close(copy) && copied) {
    copied = false;
    error = errno;
  }
  if (copied) {
    copied = failIfExists ? RenameNoReplace(temporary, hostTarget)
                          : rename(temporary.c_str(), hostTarget.c_str()) == 0;
    error = errno;
  }
  if (!copied) {
    unlink(temporary.c_str());
    return Fail(ErrorFromErrno(error));
  }
  return TRUE;
}

// Opens a file or directory only to ask for its identity: O_PATH needs no
// read permission and never blocks on a FIFO.
HANDLE CreateFileA(LPCSTR path, DWORD, DWORD, void *, DWORD disposition,
                   DWORD, HANDLE) {
  std::string hostPath;
  if (disposition != OPEN_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  if (!ToHostPath(path, &hostPath)) return INVALID_HANDLE_VALUE;
  int descriptor = open(hostPath.c_str(), O_PATH | O_CLOEXEC);
  if (descriptor < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  return new FileHandle{descriptor};
}

BOOL GetFileInformationByHandle(HANDLE file,
                                LPBY_HANDLE_FILE_INFORMATION info) {
  struct stat status;
  if (fstat(static_cast<FileHandle *>(file)->descriptor, &status))
    return Fail(ErrorFromErrno(errno));
  *info = BY_HANDLE_FILE_INFORMATION();
  info->dwFileAttributes =
      S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  info->dwVolumeSerialNumber = (DWORD)status.st_dev;
  info->nFileSizeHigh = (DWORD)((uint64_t)status.st_size >> 32);
  info->nFileSizeLow = (DWORD)status.st_size;
  info->nNumberOfLinks = (DWORD)status.st_nlink;
  info->nFileIndexHigh = (DWORD)((uint64_t)status.st_ino >> 32);
  info->nFileIndexLow = (DWORD)status.st_ino;
  return TRUE;
}

BOOL CloseHandle(HANDLE object) {
  FileHandle *file = static_cast<FileHandle *>(object);
  int result = close(file->descriptor);
  delete file;
  return result == 0;
}
