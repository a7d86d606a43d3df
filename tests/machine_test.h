// A fresh emulated machine per test: a temporary host folder for its
// drives, helpers to lay out files, and the current directory set to a
// folder that holds the source library, as an administrator starts it.
#ifndef ZNUPDATE_TESTS_MACHINE_TEST_H
#define ZNUPDATE_TESTS_MACHINE_TEST_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulated_machine.h"

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Maps a drive to a new host folder and returns that folder.
  std::string MapDrive(char letter, UINT type = DRIVE_FIXED);
  // Host paths are below the test's folder: "C/Apps/zndev32.dll".
  std::string Host(const std::string &relative) const;

  void MakeDirectory(const std::string &relative);
  void WriteFile(const std::string &relative, const std::string &contents);
  // Puts a test library of the given file version ("3.2", "none") there.
  void PutLibrary(const std::string &relative, const std::string &version);
  // The source library: a current one (5.0) in the current directory.
  void PutSourceLibrary();
  void SetDosAttributes(const std::string &relative, const char *text);

  bool Exists(const std::string &relative) const;
  std::string Contents(const std::string &relative) const;
  // Whether the file holds the test library of that version.
  bool HoldsLibrary(const std::string &relative,
                    const std::string &version) const;
  // The sorted relative paths of every file below the test's folder.
  std::vector<std::string> AllFiles() const;

  // What a call printed to standard output.
  template <typename Call>
  std::string Printed(Call call) {
    ::testing::internal::CaptureStdout();
    call();
    return ::testing::internal::GetCapturedStdout();
  }

  std::string root_;

 private:
  std::string savedDirectory_;
};

// The path of a test library built for the tests.
std::string FixturePath(const std::string &version);
std::string ReadHostFile(const std::string &path);

#endif
