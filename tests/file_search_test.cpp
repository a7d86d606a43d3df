// The walk: which files of the library's name are found, in which order,
// on which drives, and which directories are entered.
#include <unistd.h>

#include "file_search.h"
#include "machine_test.h"

namespace {

std::vector<std::string> Visits;

void RecordVisit(LPCSTR directory, LPCSTR name) {
  Visits.push_back(std::string(directory) + "|" + name);
}

class FileSearchTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Visits.clear();
  }

  // Searches and checks both the visits, in order, and the count.
  void ExpectSearch(UINT driveType, bool recurse,
                    const std::vector<std::string> &expected) {
    int count = SearchDrives(driveType, recurse, "ZNDEV32.DLL", RecordVisit);
    EXPECT_EQ(Visits, expected)
        << "drive type " << driveType << ", recurse " << recurse;
    EXPECT_EQ(count, (int)expected.size());
    Visits.clear();
  }
};

TEST_F(FileSearchTest, FindsEveryMatchOnTheDrivesOfOneType) {
  MapDrive('C');
  PutLibrary("C/zndev32.dll", "3.2");
  WriteFile("C/zndev32.dll.old", "a backup is no match");
  PutLibrary("C/Apps/Scanner/Zndev32.Dll", "3.2");
  MakeDirectory("C/Apps/ZNDEV32.DLL/inner");
  WriteFile("C/Apps/ZNDEV32.DLL/inner/zndev32.dll", "");
  WriteFile("C/.config/zndev32.dll", "");
  WriteFile("C/Hidden/zndev32.dll", "");
  WriteFile("C/System/zndev32.dll", "");
  WriteFile("C/SysHidden/zndev32.dll", "");
  SetDosAttributes("C/Hidden", "0x2");
  SetDosAttributes("C/System", "0x4");
  SetDosAttributes("C/SysHidden", "0x6");
  WriteFile("C/_x/ZNDEV32.dll", "");
  WriteFile("C/Zy/zndev32.dll", "");
  MapDrive('H');
  WriteFile("H/a/zndev32.dll", "");
  MapDrive('D', DRIVE_CDROM);
  WriteFile("D/zndev32.dll", "");
  MapDrive('E', DRIVE_REMOTE);
  WriteFile("E/zndev32.dll", "");
  MapDrive('F', DRIVE_REMOVABLE);
  WriteFile("F/zndev32.dll", "");
  MapDrive('G', DRIVE_RAMDISK);
  WriteFile("G/sub/zndev32.dll", "");

  // Upper-case name order, each directory searched whole when it comes up.
  ExpectSearch(DRIVE_FIXED, true,
               {"C:\\Apps\\Scanner\\|Zndev32.Dll",
                "C:\\Apps\\ZNDEV32.DLL\\inner\\|zndev32.dll",
                "C:\\Hidden\\|zndev32.dll", "C:\\|zndev32.dll",
                "C:\\Zy\\|zndev32.dll", "C:\\_x\\|ZNDEV32.dll",
                "H:\\a\\|zndev32.dll"});
  ExpectSearch(DRIVE_FIXED, false, {"C:\\|zndev32.dll"});
  ExpectSearch(DRIVE_CDROM, true, {"D:\\|zndev32.dll"});
  ExpectSearch(DRIVE_REMOTE, true, {"E:\\|zndev32.dll"});
  ExpectSearch(DRIVE_REMOVABLE, true, {"F:\\|zndev32.dll"});
  ExpectSearch(DRIVE_RAMDISK, true, {"G:\\sub\\|zndev32.dll"});
}

TEST_F(FileSearchTest, NoFixedDriveFindsNothing) {
  MapDrive('D', DRIVE_CDROM);
  WriteFile("D/zndev32.dll", "");
  ExpectSearch(DRIVE_FIXED, true, {});
  MapDrive('C');
  ExpectSearch(DRIVE_FIXED, true, {});
}

TEST_F(FileSearchTest, EntersOnlyDirectoriesWhosePatternFitsAPath) {
  // C:\ + four levels of 50 characters: a directory path of 207 characters.
  MapDrive('C');
  std::string host = "C", windows = "C:\\";
  for (int level = 0; level < 4; ++level) {
    host += "/" + std::string(50, 'a' + level);
    windows += std::string(50, 'a' + level) + "\\";
  }
  ASSERT_EQ(windows.size(), 207u);
  WriteFile(host + "/zndev32.dll", "");
  // "<207>" + name + "\*.*" fits 259 characters for a name of up to 48.
  WriteFile(host + "/" + std::string(48, 'x') + "/zndev32.dll", "");
  WriteFile(host + "/" + std::string(49, 'y') + "/zndev32.dll", "");
  WriteFile(host + "/" + std::string(200, 'z') + "/zndev32.dll", "");
  ExpectSearch(DRIVE_FIXED, true,
               {windows + std::string(48, 'x') + "\\|zndev32.dll",
                windows + "|zndev32.dll"});
}

TEST_F(FileSearchTest, LinksBackToAnAncestorAreNotFollowed) {
  MapDrive('C');
  MakeDirectory("C/a/b");
  WriteFile("C/s/zndev32.dll", "");
  ASSERT_EQ(symlink(Host("C").c_str(), Host("C/a/up").c_str()), 0);
  ASSERT_EQ(symlink(".", Host("C/a/self").c_str()), 0);
  ASSERT_EQ(symlink("../../a", Host("C/a/b/back").c_str()), 0);
  ASSERT_EQ(symlink("..", Host("C/a/b/parent").c_str()), 0);
  // A link elsewhere is followed like any directory.
  ASSERT_EQ(symlink("../s", Host("C/a/side").c_str()), 0);
  ExpectSearch(DRIVE_FIXED, true,
               {"C:\\a\\side\\|zndev32.dll", "C:\\s\\|zndev32.dll"});
}

TEST_F(FileSearchTest, UnreadableDirectoriesArePassedOver) {
  MapDrive('C');
  WriteFile("C/locked/zndev32.dll", "");
  WriteFile("C/open/zndev32.dll", "");
  InjectEmulatedFault(EmulatedOperation::List, "C:\\LOCKED\\",
                      ERROR_ACCESS_DENIED);
  ExpectSearch(DRIVE_FIXED, true, {"C:\\open\\|zndev32.dll"});
}

TEST_F(FileSearchTest, TheWindowTitleShowsProgressAndIsPutBack) {
  MapDrive('C');
  WriteFile("C/a/zndev32.dll", "");
  WriteFile("C/b/zndev32.dll", "");
  static std::vector<std::string> titles;
  for (const char *original : {"Command Prompt", ""}) {
    SetConsoleTitleA(original);
    titles.clear();
    SearchDrives(DRIVE_FIXED, true, "ZNDEV32.DLL", [](LPCSTR, LPCSTR) {
      CHAR title[MAX_PATH];
      GetConsoleTitleA(title, sizeof title);
      titles.push_back(title);
      // Long enough for the next folder to retitle the window.
      usleep(300 * 1000);
    });
    EXPECT_EQ(titles, (std::vector<std::string>{
                          "Searching C:\\ (folders searched: 1)",
                          "Searching C:\\ (folders searched: 3)"}));
    CHAR title[MAX_PATH] = "not read";
    GetConsoleTitleA(title, sizeof title);
    EXPECT_STREQ(title, original);
  }
}

}  // namespace
