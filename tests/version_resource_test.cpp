// The emulated machine's reader of version resources, on real PE images
// built for the tests and on truncated and corrupted copies of them.
#include <string.h>

#include <functional>

#include "library_version.h"
#include "machine_test.h"

namespace {

uint32_t Dword(const std::string &bytes, size_t at) {
  uint32_t value;
  memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

void PutDword(std::string &bytes, size_t at, uint32_t value) {
  memcpy(&bytes[at], &value, sizeof value);
}

void PutWord(std::string &bytes, size_t at, uint16_t value) {
  memcpy(&bytes[at], &value, sizeof value);
}

// Where the VS_VERSION_INFO block starts: six bytes before its key.
size_t VersionBlock(const std::string &image) {
  static const char key[] = "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0";
  size_t at = image.find(std::string(key, sizeof key - 1));
  return at == std::string::npos ? at : at - 6;
}

class VersionResourceTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    MapDrive('C');
  }

  double VersionOf(const std::string &image) {
    WriteFile("C/zndev32.dll", image);
    return GetLibraryVersion("C:\\zndev32.dll");
  }
};

TEST_F(VersionResourceTest, ReadsPE32PlusImages) {
  EXPECT_EQ(VersionOf(ReadHostFile(FixturePath("pe32plus-3.2"))),
            VersionNumber(3, 2));
  EXPECT_EQ(VersionOf(ReadHostFile(FixturePath("pe32plus-4.1"))),
            VersionNumber(4, 1));
}

TEST_F(VersionResourceTest, TruncatedImagesReadAsNoVersion) {
  for (const char *fixture : {"4.1", "pe32plus-4.1"}) {
    std::string image = ReadHostFile(FixturePath(fixture));
    size_t block = VersionBlock(image);
    ASSERT_NE(block, std::string::npos) << fixture;
    size_t blockEnd = block + (uint8_t)image[block] + 256 * (uint8_t)image[block + 1];
    for (size_t length = 0; length < image.size(); ++length) {
      double version = VersionOf(image.substr(0, length));
      if (length < blockEnd)
        ASSERT_EQ(version, NoVersionValue) << fixture << " cut at " << length;
      else
        ASSERT_EQ(version, VersionNumber(4, 1)) << fixture << " cut at " << length;
    }
  }
}

TEST_F(VersionResourceTest, CorruptedImagesReadAsNoVersion) {
  const std::string image = ReadHostFile(FixturePath("3.2"));
  const size_t pe = Dword(image, 0x3c), optional = pe + 24;
  const size_t sections = optional + (uint8_t)image[pe + 20];
  const size_t block = VersionBlock(image);
  ASSERT_EQ(VersionOf(image), VersionNumber(3, 2));

  struct Corruption {
    const char *what;
    std::function<void(std::string &)> apply;
  } const corruptions[] = {
      {"PE header offset past the end",
       [](std::string &b) { PutDword(b, 0x3c, 0x7ffffff0); }},
      {"PE header offset at the very end",
       [](std::string &b) { PutDword(b, 0x3c, (uint32_t)b.size() - 4); }},
      {"no MZ signature", [](std::string &b) { b[0] = 'X'; }},
      {"no PE signature", [&](std::string &b) { b[pe + 2] = 'X'; }},
      {"unknown optional header magic",
       [&](std::string &b) { PutWord(b, optional, 0x999); }},
      {"too many sections", [&](std::string &b) { PutWord(b, pe + 6, 0xffff); }},
      {"no sections", [&](std::string &b) { PutWord(b, pe + 6, 0); }},
      {"optional header too short for the resource entry",
       [&](std::string &b) { PutWord(b, pe + 20, 100); }},
      {"too few data directories",
       [&](std::string &b) { PutDword(b, optional + 92, 2); }},
      {"resource table outside the image",
       [&](std::string &b) { PutDword(b, optional + 112, 0xffffff00); }},
      {"no resource table",
       [&](std::string &b) { PutDword(b, optional + 112, 0); }},
      {"every section's data past the end",
       [&](std::string &b) {
         for (size_t s = 0; s < (uint8_t)b[pe + 6]; ++s)
           PutDword(b, sections + 40 * s + 20, 0xffffff00);
       }},
      {"block longer than the resource",
       [&](std::string &b) { PutWord(b, block, 0xffff); }},
      {"block too short for its value",
       [&](std::string &b) { PutWord(b, block, 60); }},
      {"no value", [&](std::string &b) { PutWord(b, block + 2, 0); }},
      {"value longer than its block",
       [&](std::string &b) { PutWord(b, block + 2, 0xff34); }},
      {"wrong key", [&](std::string &b) { b[block + 6] = 'W'; }},
      {"wrong signature", [&](std::string &b) { b[block + 40] ^= 1; }},
  };
  for (const Corruption &corruption : corruptions) {
    std::string corrupted = image;
    corruption.apply(corrupted);
    EXPECT_EQ(VersionOf(corrupted), NoVersionValue) << corruption.what;
  }
}

TEST_F(VersionResourceTest, ReadsNoMoreThanTheCallerAllows) {
  WriteFile("C/zndev32.dll", ReadHostFile(FixturePath("4.1")));
  DWORD handle;
  DWORD size = GetFileVersionInfoSizeA("C:\\zndev32.dll", &handle);
  ASSERT_GT(size, 92u);
  std::vector<char> buffer(size + 16, '\x5a');
  // A short buffer is filled up to its length and refused as incomplete.
  EXPECT_FALSE(GetFileVersionInfoA("C:\\zndev32.dll", handle, 64, buffer.data()));
  EXPECT_EQ(buffer[64], '\x5a');
  ASSERT_TRUE(GetFileVersionInfoA("C:\\zndev32.dll", handle, size, buffer.data()));
  EXPECT_EQ(buffer[size], '\x5a');
  LPVOID value;
  UINT length;
  EXPECT_FALSE(VerQueryValueA(buffer.data(), "\\StringFileInfo", &value, &length));
  ASSERT_TRUE(VerQueryValueA(buffer.data(), "\\", &value, &length));
  EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(static_cast<VS_FIXEDFILEINFO *>(value)->dwFileVersionMS, 0x40001u);
}

}  // namespace
