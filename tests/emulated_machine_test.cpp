// The emulated machine behaves as Windows does where the program relies on
// it: listings, drive types, paths that ignore case, moves that never
// replace, copies that land whole or not at all.
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "machine_test.h"

namespace {

struct Listed {
  std::string name;
  DWORD attributes;
  bool operator==(const Listed &other) const {
    return name == other.name && attributes == other.attributes;
  }
};

std::ostream &operator<<(std::ostream &out, const Listed &entry) {
  return out << entry.name << "(0x" << std::hex << entry.attributes
             << std::dec << ")";
}

// Lists a pattern, calling `during` after the first entry.
std::vector<Listed> List(const char *pattern,
                         const std::function<void()> &during = [] {}) {
  std::vector<Listed> entries;
  WIN32_FIND_DATAA data;
  HANDLE listing = FindFirstFileA(pattern, &data);
  if (listing == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({data.cFileName, data.dwFileAttributes});
    if (entries.size() == 1) during();
  } while (FindNextFileA(listing, &data));
  FindClose(listing);
  return entries;
}

const DWORD Directory = FILE_ATTRIBUTE_DIRECTORY;
const DWORD File = FILE_ATTRIBUTE_ARCHIVE;
const DWORD Link = FILE_ATTRIBUTE_REPARSE_POINT;

using EmulatedMachineTest = MachineTest;

TEST_F(EmulatedMachineTest, ListsInUpperCaseNameOrderWithDotsBelowRoots) {
  MapDrive('C');
  for (const char *name : {"Zy", "_x", "a", "B", "zndev32.dll", "bad:name",
                           "what?", "tab\tname", "back\\slash"})
    WriteFile(std::string("C/d/") + name, "");
  MakeDirectory("C/d/sub");
  SetDosAttributes("C/d/sub", "0x6");
  ASSERT_EQ(symlink("sub", Host("C/d/link").c_str()), 0);
  ASSERT_EQ(symlink("a", Host("C/d/filelink").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", Host("C/d/dangling").c_str()), 0);
  ASSERT_EQ(mkfifo(Host("C/d/fifo").c_str(), 0644), 0);
  WriteFile("C/top", "");

  std::vector<Listed> expected = {
      {".", Directory}, {"..", Directory}, {"a", File}, {"B", File},
      {"fifo", File}, {"filelink", File | Link},
      {"link", Directory | Link | 0x6}, {"sub", Directory | 0x6},
      {"zndev32.dll", File}, {"Zy", File}, {"_x", File}};
  EXPECT_EQ(List("C:\\d\\*.*"), expected);
  EXPECT_EQ(List("C:\\D\\*"), expected);
  EXPECT_EQ(List("C:\\*.*"),
            (std::vector<Listed>{{"d", Directory}, {"top", File}}));
}

TEST_F(EmulatedMachineTest, AListingIsASnapshotTakenWhenItOpens) {
  MapDrive('C');
  WriteFile("C/a", "");
  WriteFile("C/b", "");
  std::vector<Listed> entries = List("C:\\*.*", [&] {
    EXPECT_TRUE(MoveFileA("C:\\b", "C:\\b.old"));
    EXPECT_TRUE(CopyFileA("C:\\a", "C:\\c", FALSE));
  });
  EXPECT_EQ(entries, (std::vector<Listed>{{"a", File}, {"b", File}}));
}

TEST_F(EmulatedMachineTest, ListingsThatCannotOpenFail) {
  MapDrive('C');
  WIN32_FIND_DATAA data;
  for (const char *pattern : {"C:\\missing\\*.*", "Q:\\*.*", "C:\\*.dll",
                              "C:\\..\\*.*"})
    EXPECT_EQ(FindFirstFileA(pattern, &data), INVALID_HANDLE_VALUE) << pattern;
  // An empty drive root has no entry at all, not even dots.
  EXPECT_EQ(FindFirstFileA("C:\\*.*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

TEST_F(EmulatedMachineTest, DriveTypesComeFromTheMachine) {
  MapDrive('C');
  MapDrive('D', DRIVE_CDROM);
  MapDrive('Z', DRIVE_REMOTE);
  const std::pair<const char *, UINT> roots[] = {
      {"C:\\", DRIVE_FIXED}, {"d:\\", DRIVE_CDROM},  {"Z:\\", DRIVE_REMOTE},
      {"E:\\", DRIVE_NO_ROOT_DIR}, {"C:", DRIVE_NO_ROOT_DIR},
      {"C:\\x", DRIVE_NO_ROOT_DIR}};
  for (const auto &root : roots)
    EXPECT_EQ(GetDriveTypeA(root.first), root.second) << root.first;
}

TEST_F(EmulatedMachineTest, PathsNameFilesWhateverTheirLetterCase) {
  MapDrive('C');
  WriteFile("source/Zndev32.dll", "mixed");
  WriteFile("C/Apps/Scanner/a.txt", "deep");
  struct {
    const char *from;
    const char *contents;
  } const copies[] = {{".\\ZNDEV32.DLL", "mixed"},
                      {"C:\\APPS\\scanner\\A.TXT", "deep"},
                      {"C:/Apps/Scanner/a.txt", "deep"}};
  for (const auto &copy : copies) {
    EXPECT_TRUE(CopyFileA(copy.from, "C:\\copy", FALSE)) << copy.from;
    EXPECT_EQ(Contents("C/copy"), copy.contents) << copy.from;
  }
  // The exact spelling wins when both exist.
  WriteFile("source/ZNDEV32.DLL", "exact");
  EXPECT_TRUE(CopyFileA(".\\ZNDEV32.DLL", "C:\\copy", FALSE));
  EXPECT_EQ(Contents("C/copy"), "exact");
  // Nothing climbs out of a drive.
  EXPECT_FALSE(CopyFileA("C:\\..\\source\\ZNDEV32.DLL", "C:\\x", FALSE));
}

TEST_F(EmulatedMachineTest, MoveNeverReplacesAnExistingFile) {
  MapDrive('C');
  WriteFile("C/copy", "old library");
  WriteFile("C/COPY.OLD", "earlier backup");
  EXPECT_FALSE(MoveFileA("C:\\copy", "C:\\copy.old"));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
  EXPECT_EQ(Contents("C/copy"), "old library");
  EXPECT_EQ(Contents("C/COPY.OLD"), "earlier backup");
  EXPECT_TRUE(MoveFileA("C:\\copy", "C:\\other"));
  EXPECT_EQ(Contents("C/other"), "old library");
  EXPECT_FALSE(Exists("C/copy"));
  EXPECT_FALSE(MoveFileA("C:\\missing", "C:\\elsewhere"));

  // Asked to, it replaces a file, but not a read-only one.
  EXPECT_TRUE(MoveFileExA("C:\\other", "C:\\copy.old", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Contents("C/COPY.OLD"), "old library");
  WriteFile("C/other", "another");
  SetDosAttributes("C/COPY.OLD", "0x1");
  EXPECT_FALSE(MoveFileExA("C:\\other", "C:\\copy.old", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Contents("C/COPY.OLD"), "old library");
}

TEST_F(EmulatedMachineTest, CopyLandsWholeOrNotAtAll) {
  MapDrive('C');
  WriteFile("C/new", "new library");
  WriteFile("C/target", "old library");
  EXPECT_FALSE(CopyFileA("C:\\new", "C:\\target", TRUE));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_EXISTS);
  EXPECT_TRUE(CopyFileA("C:\\new", "C:\\target", FALSE));
  EXPECT_EQ(Contents("C/target"), "new library");

  // Failures leave the target as it was and no stray file beside it.
  WriteFile("C/target", "old library");
  ASSERT_EQ(mkfifo(Host("C/fifo").c_str(), 0644), 0);
  InjectEmulatedFault(EmulatedOperation::Copy, "C:\\faulty", ERROR_WRITE_FAULT);
  WriteFile("C/faulty", "");
  for (const char *source : {"C:\\fifo", "C:\\missing", "C:\\faulty"})
    EXPECT_FALSE(CopyFileA(source, "C:\\target", FALSE)) << source;
  EXPECT_EQ(Contents("C/target"), "old library");
  EXPECT_EQ(AllFiles(), (std::vector<std::string>{
                            "C/faulty", "C/fifo", "C/new", "C/target"}));
}

TEST_F(EmulatedMachineTest, CopyRefusesReadOnlyAndHiddenTargets) {
  MapDrive('C');
  WriteFile("C/new", "new library");
  for (const char *attributes : {"0x1", "0x2", "0x3"}) {
    WriteFile("C/target", "old library");
    SetDosAttributes("C/target", attributes);
    EXPECT_FALSE(CopyFileA("C:\\new", "C:\\target", FALSE)) << attributes;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_EQ(Contents("C/target"), "old library");
    ASSERT_EQ(unlink(Host("C/target").c_str()), 0);
  }
  WriteFile("C/target", "old library");
  ASSERT_EQ(chmod(Host("C/target").c_str(), 0444), 0);
  EXPECT_FALSE(CopyFileA("C:\\new", "C:\\target", FALSE));
}

}  // namespace
