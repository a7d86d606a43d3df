// The version number of a copy: exact readings of file versions, and which
// side of 4.1 each falls on.
#include <gtest/gtest.h>

#include "library_version.h"
#include "machine_test.h"

namespace {

struct VersionCase {
  const char *version;  // a test library's file version, "none" for none
  WORD major, minor;
  double expected;      // hexadecimal: the exact double, no tolerance
  bool outdated;
};

const VersionCase VersionCases[] = {
    {"4.0", 4, 0, 0x1.0000000000000p+2, true},
    {"4.1", 4, 1, 0x1.0666666800000p+2, false},        // 4.1000000015
    {"4.10", 4, 10, 0x1.0666666400000p+2, true},       // 4.0999999978
    {"4.100", 4, 100, 0x1.0666666b80000p+2, false},    // 4.1000000047
    {"4.1000", 4, 1000, 0x1.06666663b0000p+2, true},   // 4.0999999975
    {"4.10000", 4, 10000, 0x1.06666663b0000p+2, true}, // 4.0999999975
    {"4.65535", 4, 65535, 0x1.29f1410e95000p+2, false},
    {"4.2", 4, 2, 0x1.0cccccd000000p+2, false},
    {"3.2", 3, 2, 0x1.999999a000000p+1, true},
    {"5.0", 5, 0, 0x1.4000000000000p+2, false},
    {"2.0", 2, 0, 0x1.0000000000000p+1, true},
};

TEST(VersionNumberTest, ReadsEachFileVersionExactly) {
  for (const VersionCase &row : VersionCases) {
    double actual = VersionNumber(row.major, row.minor);
    EXPECT_EQ(actual, row.expected)
        << row.version << ": read " << std::hexfloat << actual
        << ", expected " << row.expected;
    EXPECT_EQ(actual < MinimumLibraryVersion, row.outdated) << row.version;
  }
}

using LibraryVersionTest = MachineTest;

TEST_F(LibraryVersionTest, ReadsTheFileVersionOfRealLibraries) {
  MapDrive('C');
  for (const VersionCase &row : VersionCases) {
    PutLibrary("C/ZNDEV32.DLL", row.version);
    double actual = GetLibraryVersion("C:\\ZNDEV32.DLL");
    EXPECT_EQ(actual, row.expected)
        << row.version << ": read " << std::hexfloat << actual;
  }
}

TEST_F(LibraryVersionTest, FilesWithoutReadableVersionReadAsNoVersion) {
  MapDrive('C');
  PutLibrary("C/none.dll", "none");
  WriteFile("C/text.dll", "not a library at all");
  WriteFile("C/empty.dll", "");
  for (const char *path : {"C:\\none.dll", "C:\\text.dll", "C:\\empty.dll",
                           "C:\\missing.dll", "Q:\\unmapped.dll"})
    EXPECT_EQ(GetLibraryVersion(path), NoVersionValue) << path;
}

}  // namespace
