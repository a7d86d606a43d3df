// Trees the program does not control, walked as an administrator: each
// must end, in bounded time, with the right report and no library lost.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "file_search.h"
#include "machine_test.h"
#include "update_library_copy.h"

namespace {

class HostileTreeTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    MapDrive('C');
    PutSourceLibrary();
    lstrcpyA(SourceLibraryPath, ".\\ZNDEV32.DLL");
  }

  // The whole search with the replacement, as the program runs it.
  std::string Update(int *found) {
    return Printed([&] {
      *found = SearchDrives(DRIVE_FIXED, true, "ZNDEV32.DLL", UpdateLibraryCopy);
    });
  }
};

TEST_F(HostileTreeTest, NestingPastThePathLimit) {
  // C:\d\d\...: a folder k levels down has a path of 3 + 2k characters.
  std::string host = "C", windows = "C:\\";
  std::string expected;
  const int levels[] = {120, 121, 122, 123, 126, 127, 149};
  for (int level = 1, next = 0; level <= 149; ++level) {
    host += "/d";
    windows += "d\\";
    if (level != levels[next]) continue;
    ++next;
    PutLibrary(host + "/zndev32.dll", "3.2");
    // Listed while its pattern fits 259 characters; "D" comes before
    // "ZNDEV32.DLL", so the deeper copies are met first.
    if (level <= 126)
      expected = (level <= 120 ? "Updated: " : "Update failed: ") + windows +
                 "zndev32.dll\n" + expected;
  }
  int found;
  EXPECT_EQ(Update(&found), expected);
  EXPECT_EQ(found, 5);
  EXPECT_EQ(FailedUpdateCount, 4);
  // Only the copy whose backup name fits was replaced; the rest stay.
  EXPECT_EQ(AllFiles().size(), 7u + 1 + 1);  // the copies, a backup, source
}

TEST_F(HostileTreeTest, NamesAtTheLengthLimit) {
  std::string fits(252, 'n'), tooLong(253, 'l');
  PutLibrary("C/" + fits + "/zndev32.dll", "3.2");
  PutLibrary("C/" + tooLong + "/zndev32.dll", "3.2");
  WriteFile("C/" + std::string(255, 'f'), "");
  int found;
  // Listed, but its path does not fit: counted and left alone.
  EXPECT_EQ(Update(&found), "Update failed: C:\\" + fits + "\\zndev32.dll\n");
  EXPECT_EQ(found, 1);
  EXPECT_TRUE(HoldsLibrary("C/" + fits + "/zndev32.dll", "3.2"));
}

TEST_F(HostileTreeTest, AFolderOfAHundredThousandEntries) {
  MakeDirectory("C/wide");
  for (int i = 0; i < 100000; ++i) {
    int file = open(Host("C/wide/f" + std::to_string(i)).c_str(),
                    O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(file, 0);
    close(file);
  }
  PutLibrary("C/wide/zndev32.dll", "3.2");
  int found;
  EXPECT_EQ(Update(&found), "Updated: C:\\wide\\zndev32.dll\n");
  EXPECT_EQ(found, 1);
}

TEST_F(HostileTreeTest, FilesNamedLikeTheLibraryThatAreNoLibraries) {
  MakeDirectory("C/fifo");
  ASSERT_EQ(mkfifo(Host("C/fifo/zndev32.dll").c_str(), 0644), 0);
  MakeDirectory("C/socket");
  int unixSocket = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::string socketPath = Host("C/socket/zndev32.dll");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  strcpy(address.sun_path, socketPath.c_str());
  ASSERT_EQ(bind(unixSocket, (sockaddr *)&address, sizeof address), 0);
  MakeDirectory("C/zero");
  ASSERT_EQ(symlink("/dev/zero", Host("C/zero/zndev32.dll").c_str()), 0);
  WriteFile("C/sparse/zndev32.dll", "MZ");
  ASSERT_EQ(truncate(Host("C/sparse/zndev32.dll").c_str(), 2LL << 30), 0);
  WriteFile("C/empty/zndev32.dll", "");
  InjectEmulatedFault(EmulatedOperation::ReadVersion, "C:\\unreadable\\zndev32.dll",
                      ERROR_ACCESS_DENIED);
  PutLibrary("C/unreadable/zndev32.dll", "5.0");

  // None has a version to read, so each is replaced like a damaged copy.
  int found;
  std::string printed = Update(&found);
  close(unixSocket);
  EXPECT_EQ(printed,
            "Updated: C:\\empty\\zndev32.dll\n"
            "Updated: C:\\fifo\\zndev32.dll\n"
            "Updated: C:\\socket\\zndev32.dll\n"
            "Updated: C:\\sparse\\zndev32.dll\n"
            "Updated: C:\\unreadable\\zndev32.dll\n"
            "Updated: C:\\zero\\zndev32.dll\n");
  EXPECT_EQ(found, 6);
  for (const char *folder : {"empty", "fifo", "socket", "sparse", "zero"})
    EXPECT_TRUE(HoldsLibrary(std::string("C/") + folder + "/zndev32.dll", "5.0"))
        << folder;
}

TEST_F(HostileTreeTest, TheSourceVanishingBetweenTwoCopies) {
  PutLibrary("C/a/zndev32.dll", "3.2");
  PutLibrary("C/b/zndev32.dll", "3.2");
  static std::string source;
  source = Host("source/ZNDEV32.DLL");
  int found;
  std::string printed = Printed([&] {
    found = SearchDrives(DRIVE_FIXED, true, "ZNDEV32.DLL",
                         [](LPCSTR directory, LPCSTR name) {
                           UpdateLibraryCopy(directory, name);
                           unlink(source.c_str());
                         });
  });
  EXPECT_EQ(printed, "Updated: C:\\a\\zndev32.dll\n"
                     "Update failed: C:\\b\\zndev32.dll\n");
  EXPECT_EQ(found, 2);
  EXPECT_EQ(FailedUpdateCount, 1);
  EXPECT_TRUE(HoldsLibrary("C/a/zndev32.dll", "5.0"));
  EXPECT_TRUE(HoldsLibrary("C/b/zndev32.dll", "3.2"));
  EXPECT_FALSE(Exists("C/b/zndev32.dll.old"));
}

}  // namespace
