// The version library's three calls, over the project's own reader of the
// version resource of PE images (PE32 and PE32+). It reads only the headers,
// the section table, three resource directory entries and the resource
// itself, each checked against the file's size before it is read: a file
// that is malformed, truncated or hostile reads as having no resource.
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "machine_state.h"

namespace {

// Version resources hold a 16-bit length; anything far larger is not one.
const DWORD MaximumResourceSize = 65536;
const DWORD MaximumSections = 96;
const WORD ResourceTypeVersion = 16;
const DWORD FixedInfoSignature = 0xFEEF04BD;
// wLength, wValueLength, wType, then L"VS_VERSION_INFO" and padding.
const size_t FixedInfoOffset = 40;

uint16_t Word(const unsigned char *bytes) { return bytes[0] | bytes[1] << 8; }

uint32_t Dword(const unsigned char *bytes) {
  return (uint32_t)Word(bytes) | (uint32_t)Word(bytes + 2) << 16;
}

class ImageFile {
 public:
  explicit ImageFile(int descriptor) : descriptor_(descriptor) {}

  // Reads exactly `length` bytes at `offset`, all within the file.
  bool Read(uint64_t offset, void *buffer, size_t length) {
    if (offset > size_ || length > size_ - offset) return false;
    for (size_t done = 0; done < length;) {
      ssize_t part = pread(descriptor_, (char *)buffer + done, length - done,
                           (off_t)(offset + done));
      if (part < 0 && errno == EINTR) continue;
      if (part <= 0) return false;
      done += part;
    }
    return true;
  }

  // Finds the version resource: its offset in the file and its size.
  bool LocateVersionResource(uint64_t *offset, DWORD *size) {
    struct stat status;
    if (fstat(descriptor_, &status) || !S_ISREG(status.st_mode)) return false;
    size_ = (uint64_t)status.st_size;

    unsigned char dos[64];
    if (!Read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
      return false;
    uint64_t peHeader = Dword(dos + 0x3c);
    unsigned char header[24];
    if (!Read(peHeader, header, sizeof header) ||
        memcmp(header, "PE\0\0", 4))
      return false;
    sectionCount_ = Word(header + 6);
    WORD optionalSize = Word(header + 20);
    if (sectionCount_ > MaximumSections) return false;

    // The resource table is entry 2 of the data directories, whose place
    // depends on the optional header's magic.
    unsigned char optional[240] = {};
    size_t optionalRead = optionalSize < sizeof optional ? optionalSize
                                                          : sizeof optional;
    if (!Read(peHeader + 24, optional, optionalRead) || optionalRead < 2)
      return false;
    size_t directories, countField;
    switch (Word(optional)) {
      case 0x10b: directories = 96, countField = 92; break;
      case 0x20b: directories = 112, countField = 108; break;
      default: return false;
    }
    size_t resourceEntry = directories + 2 * 8;
    if (optionalRead < resourceEntry + 8 || Dword(optional + countField) < 3)
      return false;
    resourceRva_ = Dword(optional + resourceEntry);
    if (!resourceRva_) return false;
    if (!Read(peHeader + 24 + optionalSize, sections_, sectionCount_ * 40))
      return false;

    uint32_t directory = 0;
    if (!FindEntry(directory, ResourceTypeVersion, true, &directory) ||
        !FindEntry(directory, -1, true, &directory) ||
        !FindEntry(directory, -1, false, &directory))
      return false;
    unsigned char data[16];
    if (!ReadResource(directory, data, sizeof data)) return false;
    *size = Dword(data + 4);
    if (*size == 0 || *size > MaximumResourceSize) return false;
    return RvaToOffset(Dword(data), *size, offset);
  }

 private:
  // Maps a range of the image's memory to the file, when one section's raw
  // data holds all of it.
  bool RvaToOffset(uint32_t rva, uint32_t length, uint64_t *offset) {
    for (DWORD i = 0; i < sectionCount_; ++i) {
      const unsigned char *section = sections_ + i * 40;
      uint64_t start = Dword(section + 12), rawSize = Dword(section + 16);
      if (rva >= start && rva - start + (uint64_t)length <= rawSize) {
        *offset = Dword(section + 20) + (uint64_t)(rva - start);
        return *offset + length <= size_;
      }
    }
    return false;
  }

  bool ReadResource(uint32_t resourceOffset, void *buffer, uint32_t length) {
    uint64_t offset;
    return resourceOffset <= UINT32_MAX - resourceRva_ &&
           RvaToOffset(resourceRva_ + resourceOffset, length, &offset) &&
           Read(offset, buffer, length);
  }

  // In the resource directory at `directory`, finds the entry with numeric
  // id `id` (or the first entry, for -1) and returns where it points,
  // which must be a subdirectory or, at the last level, a data entry.
  bool FindEntry(uint32_t directory, int id, bool wantDirectory,
                 uint32_t *target) {
    unsigned char header[16];
    if (!ReadResource(directory, header, sizeof header)) return false;
    uint32_t named = Word(header + 12), total = named + Word(header + 14);
    uint32_t first = id < 0 ? 0 : named;
    uint32_t last = id < 0 ? (total ? 1 : 0) : total;
    for (uint32_t i = first; i < last; ++i) {
      unsigned char entry[8];
      if (!ReadResource(directory + 16 + i * 8, entry, sizeof entry))
        return false;
      if (id >= 0 && Dword(entry) != (uint32_t)id) continue;
      uint32_t pointer = Dword(entry + 4);
      bool isDirectory = (pointer & 0x80000000u) != 0;
      if (isDirectory != wantDirectory) return false;
      *target = pointer & 0x7fffffffu;
      return true;
    }
    return false;
  }

  int descriptor_;
  uint64_t size_ = 0;
  DWORD sectionCount_ = 0;
  unsigned char sections_[MaximumSections * 40];
  uint32_t resourceRva_ = 0;
};

// Opens the file named by a Windows path for reading; non-blocking, so that
// a FIFO named like the library cannot stall the run. -1 on failure.
int OpenForVersion(LPCSTR path) {
  if (DWORD fault = InjectedFault(EmulatedOperation::ReadVersion, path)) {
    SetLastError(fault);
    return -1;
  }
  std::string hostPath;
  if (!ToHostPath(path, &hostPath)) return -1;
  int descriptor = open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) SetLastError(ERROR_FILE_NOT_FOUND);
  return descriptor;
}

// Whether a version block that was read whole holds a fixed file
// information record under the key VS_VERSION_INFO.
bool HoldsFixedInfo(const unsigned char *block, DWORD length) {
  static const char Key[] = "VS_VERSION_INFO";
  if (length < FixedInfoOffset + sizeof(VS_FIXEDFILEINFO)) return false;
  WORD blockLength = Word(block), valueLength = Word(block + 2);
  // The value, whose length the query reports, must lie inside the block.
  if (blockLength > length || valueLength < sizeof(VS_FIXEDFILEINFO) ||
      FixedInfoOffset + valueLength > blockLength)
    return false;
  for (size_t i = 0; i < sizeof Key; ++i)
    if (Word(block + 6 + 2 * i) != (unsigned char)Key[i]) return false;
  return Dword(block + FixedInfoOffset) == FixedInfoSignature;
}

}  // namespace

BOOL LoadVersionLibrary(void) {
  if (DWORD fault = InjectedFault(EmulatedOperation::LoadLibrary,
                                  "version.dll")) {
    SetLastError(fault);
    return FALSE;
  }
  return TRUE;
}

DWORD GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle) {
  if (handle) *handle = 0;
  int descriptor = OpenForVersion(path);
  if (descriptor < 0) return 0;
  uint64_t offset;
  DWORD size = 0;
  if (!ImageFile(descriptor).LocateVersionResource(&offset, &size)) {
    size = 0;
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  }
  close(descriptor);
  return size;
}

BOOL GetFileVersionInfoA(LPCSTR path, DWORD, DWORD length, LPVOID data) {
  int descriptor = OpenForVersion(path);
  if (descriptor < 0) return FALSE;
  ImageFile image(descriptor);
  uint64_t offset;
  DWORD size;
  bool read = image.LocateVersionResource(&offset, &size);
  if (read) {
    if (size > length) size = length;
    read = image.Read(offset, data, size) &&
           HoldsFixedInfo((const unsigned char *)data, size);
  }
  close(descriptor);
  if (!read) SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return read;
}

// Only the root block "\" is served: the program asks for nothing else. The
// block was checked whole when it was read.
BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID *value,
                    PUINT length) {
  if (strcmp(subBlock, "\\")) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  const unsigned char *bytes = (const unsigned char *)block;
  *value = (LPVOID)(bytes + FixedInfoOffset);
  *length = Word(bytes + 2);
  return TRUE;
}
