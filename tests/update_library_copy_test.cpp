// Replacing one copy: what is printed, what ends up under the copy's name
// and under its backup name, and that no name is left without a library.
#include <sys/stat.h>

#include "machine_test.h"
#include "update_library_copy.h"

namespace {

struct UpdateCase {
  const char *scenario;
  const char *copy;          // file version of C:\app\zndev32.dll
  const char *backup;        // of an existing zndev32.dll.old, or null
  bool sourcePresent;        // a 5.0 library in the current directory
  DWORD faultOnMove, faultOnCopy;
  const char *dosAttributes; // of the copy, or null
  const char *printed;       // "Updated", "Update failed" or ""
  const char *copyAfter;     // what the copy's name holds afterwards
  const char *backupAfter;   // what the backup name holds, or null
};

const DWORD Denied = ERROR_ACCESS_DENIED;

const UpdateCase UpdateCases[] = {
    {"outdated", "3.2", nullptr, true, 0, 0, nullptr, "Updated", "5.0", "3.2"},
    {"4.10 reads below 4.1", "4.10", nullptr, true, 0, 0, nullptr, "Updated",
     "5.0", "4.10"},
    {"no version resource", "none", nullptr, true, 0, 0, nullptr, "Updated",
     "5.0", "none"},
    {"exactly 4.1", "4.1", nullptr, true, 0, 0, nullptr, "", "4.1", nullptr},
    {"newer", "5.0", nullptr, true, 0, 0, nullptr, "", "5.0", nullptr},
    {"second run, replaced", "5.0", "3.2", true, 0, 0, nullptr, "", "5.0",
     "3.2"},
    {"second run, still outdated: overwritten in place", "3.2", "2.0", true,
     0, 0, nullptr, "Updated", "5.0", "2.0"},
    {"source missing: the copy is moved back", "3.2", nullptr, false, 0, 0,
     nullptr, "Update failed", "3.2", nullptr},
    {"source missing, backup exists", "3.2", "2.0", false, 0, 0, nullptr,
     "Update failed", "3.2", "2.0"},
    {"move fails: overwritten in place", "3.2", nullptr, true, Denied, 0,
     nullptr, "Updated", "5.0", nullptr},
    {"copy fails: the copy is moved back", "3.2", nullptr, true, 0, Denied,
     nullptr, "Update failed", "3.2", nullptr},
    {"both fail", "3.2", nullptr, true, Denied, Denied, nullptr,
     "Update failed", "3.2", nullptr},
    {"read-only copy, backup exists", "3.2", "2.0", true, 0, 0, "0x1",
     "Update failed", "3.2", "2.0"},
    {"hidden copy, backup exists", "3.2", "2.0", true, 0, 0, "0x2",
     "Update failed", "3.2", "2.0"},
    {"read-only copy is moved, not overwritten", "3.2", nullptr, true, 0, 0,
     "0x1", "Updated", "5.0", "3.2"},
};

class UpdateLibraryCopyTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    MapDrive('C');
    lstrcpyA(SourceLibraryPath, ".\\ZNDEV32.DLL");
  }
};

TEST_F(UpdateLibraryCopyTest, ReplacesOutdatedCopiesAndKeepsABackup) {
  for (const UpdateCase &row : UpdateCases) {
    SCOPED_TRACE(row.scenario);
    TearDown();
    SetUp();
    PutLibrary("C/app/zndev32.dll", row.copy);
    if (row.backup) PutLibrary("C/app/zndev32.dll.old", row.backup);
    if (row.dosAttributes) SetDosAttributes("C/app/zndev32.dll", row.dosAttributes);
    if (row.sourcePresent) PutSourceLibrary();
    if (row.faultOnMove)
      InjectEmulatedFault(EmulatedOperation::Move, "C:\\app\\zndev32.dll",
                          row.faultOnMove);
    if (row.faultOnCopy)
      InjectEmulatedFault(EmulatedOperation::Copy, "C:\\app\\zndev32.dll",
                          row.faultOnCopy);

    std::string printed =
        Printed([] { UpdateLibraryCopy("C:\\app\\", "zndev32.dll"); });

    std::string expected =
        *row.printed ? std::string(row.printed) + ": C:\\app\\zndev32.dll\n"
                     : "";
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(FailedUpdateCount, expected.find("failed") != std::string::npos);
    EXPECT_TRUE(HoldsLibrary("C/app/zndev32.dll", row.copyAfter));
    if (row.backupAfter)
      EXPECT_TRUE(HoldsLibrary("C/app/zndev32.dll.old", row.backupAfter));
    else
      EXPECT_FALSE(Exists("C/app/zndev32.dll.old"));
  }
}

TEST_F(UpdateLibraryCopyTest, NamesAsListedAreKeptInThePrintedLine) {
  PutSourceLibrary();
  PutLibrary("C/Apps/Scanner/Zndev32.Dll", "3.2");
  EXPECT_EQ(Printed([] { UpdateLibraryCopy("C:\\Apps\\Scanner\\", "Zndev32.Dll"); }),
            "Updated: C:\\Apps\\Scanner\\Zndev32.Dll\n");
  EXPECT_TRUE(HoldsLibrary("C/Apps/Scanner/Zndev32.Dll", "5.0"));
  EXPECT_TRUE(HoldsLibrary("C/Apps/Scanner/Zndev32.Dll.old", "3.2"));
}

TEST_F(UpdateLibraryCopyTest, ACopyWhoseBackupPathWouldNotFitIsLeftAlone) {
  PutSourceLibrary();
  // 245 characters of directory: the copy's path fits, its backup's not.
  std::string windows = "C:\\", host = "C";
  while (windows.size() < 245) {
    std::string name(std::min<size_t>(60, 245 - windows.size() - 1), 'd');
    windows += name + "\\";
    host += "/" + name;
  }
  ASSERT_EQ(windows.size(), 245u);
  PutLibrary(host + "/zndev32.dll", "3.2");
  EXPECT_EQ(Printed([&] { UpdateLibraryCopy(windows.c_str(), "zndev32.dll"); }),
            "Update failed: " + windows + "zndev32.dll\n");
  EXPECT_EQ(FailedUpdateCount, 1);
  EXPECT_TRUE(HoldsLibrary(host + "/zndev32.dll", "3.2"));
  EXPECT_FALSE(Exists(host + "/zndev32.dll.old"));
}

TEST_F(UpdateLibraryCopyTest, AFifoNamedLikeTheLibraryNeverBlocks) {
  PutSourceLibrary();
  MakeDirectory("C/app");
  ASSERT_EQ(mkfifo(Host("C/app/zndev32.dll").c_str(), 0644), 0);
  // It has no version to read, so it is replaced like a damaged copy.
  EXPECT_EQ(Printed([] { UpdateLibraryCopy("C:\\app\\", "zndev32.dll"); }),
            "Updated: C:\\app\\zndev32.dll\n");
  EXPECT_TRUE(HoldsLibrary("C/app/zndev32.dll", "5.0"));
}

}  // namespace
