#include "machine_test.h"

#include <stdlib.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "update_library_copy.h"

namespace fs = std::filesystem;

std::string FixturePath(const std::string &version) {
  return std::string(FIXTURE_DIR) + "/zndev32-" + version + ".dll";
}

std::string ReadHostFile(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void MachineTest::SetUp() {
  ResetEmulatedMachine();
  FailedUpdateCount = 0;
  char pattern[] = "/tmp/znupdate-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  savedDirectory_ = fs::current_path();
  MakeDirectory("source");
  fs::current_path(Host("source"));
}

void MachineTest::TearDown() {
  fs::current_path(savedDirectory_);
  std::error_code ignored;
  fs::permissions(root_, fs::perms::all, ignored);
  fs::remove_all(root_, ignored);
  ResetEmulatedMachine();
}

std::string MachineTest::MapDrive(char letter, UINT type) {
  std::string folder = Host(std::string(1, letter));
  fs::create_directories(folder);
  MapEmulatedDrive(letter, folder, type);
  return folder;
}

std::string MachineTest::Host(const std::string &relative) const {
  return root_ + "/" + relative;
}

void MachineTest::MakeDirectory(const std::string &relative) {
  fs::create_directories(Host(relative));
}

void MachineTest::WriteFile(const std::string &relative,
                            const std::string &contents) {
  fs::create_directories(fs::path(Host(relative)).parent_path());
  std::ofstream(Host(relative), std::ios::binary) << contents;
}

void MachineTest::PutLibrary(const std::string &relative,
                             const std::string &version) {
  WriteFile(relative, ReadHostFile(FixturePath(version)));
}

void MachineTest::PutSourceLibrary() {
  PutLibrary("source/ZNDEV32.DLL", "5.0");
}

void MachineTest::SetDosAttributes(const std::string &relative,
                                   const char *text) {
  ASSERT_EQ(setxattr(Host(relative).c_str(), "user.DOSATTRIB", text,
                     strlen(text), 0),
            0)
      << "extended attributes are needed on " << root_;
}

bool MachineTest::Exists(const std::string &relative) const {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(Host(relative), ignored));
}

std::string MachineTest::Contents(const std::string &relative) const {
  return ReadHostFile(Host(relative));
}

bool MachineTest::HoldsLibrary(const std::string &relative,
                               const std::string &version) const {
  return Exists(relative) &&
         Contents(relative) == ReadHostFile(FixturePath(version));
}

std::vector<std::string> MachineTest::AllFiles() const {
  std::vector<std::string> files;
  for (auto &entry : fs::recursive_directory_iterator(root_))
    if (!entry.is_directory())
      files.push_back(fs::relative(entry.path(), root_).string());
  std::sort(files.begin(), files.end());
  return files;
}
