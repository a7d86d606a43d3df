// The whole program as an administrator runs it: its emulated machine from
// the environment, standard input at its end, output checked byte for byte.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "machine_test.h"
#include "run_update.h"

namespace {

const char Banner[] =
    "***********************************************************\n"
    "***\tWelcome to the ZERNA Systems Film Digitizer\t***\n"
    "***\tProgramming Library File Update Program\t\t***\n"
    "***********************************************************\n\n";
const char Refusal[] =
    "ERROR 102: The update program will not run on Windows 95, 98, ME, or NT "
    "operating systems.\nExiting...\n";
const char Searching[] =
    "Searching all local drives for copies of Zndev32.dll, please wait...\n\n";

std::string Report(int found) {
  return "Number of Zndev32.dll files found = " + std::to_string(found) +
         "\n\nExiting, press any key to quit.\n";
}

struct ProgramRun {
  std::string output;
  int exitCode;
};

// Runs the program with only `environment`, in the current directory, with
// standard input from /dev/null.
ProgramRun RunProgram(const std::vector<std::string> &environment) {
  int pipeEnds[2];
  if (pipe(pipeEnds)) return {"pipe failed", -1};
  pid_t child = fork();
  if (child == 0) {
    std::vector<char *> variables;
    for (const std::string &variable : environment)
      variables.push_back(const_cast<char *>(variable.c_str()));
    variables.push_back(nullptr);
    int input = open("/dev/null", O_RDONLY);
    dup2(input, 0);
    dup2(pipeEnds[1], 1);
    close(pipeEnds[0]);
    char *arguments[] = {const_cast<char *>(PROGRAM_PATH), nullptr};
    execve(PROGRAM_PATH, arguments, variables.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  ProgramRun run;
  char buffer[4096];
  for (ssize_t length; (length = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    run.output.append(buffer, length);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class RunUpdateTest : public MachineTest {
 protected:
  std::string DriveVariable(char letter) {
    return std::string("ZNUPDATE_DRIVE_") + letter + "=" +
           Host(std::string(1, letter));
  }

  // A workstation: copies old and new on two fixed drives, one on a CD.
  std::vector<std::string> MixedMachine() {
    MakeDirectory("C");
    MakeDirectory("D");
    MakeDirectory("E");
    PutLibrary("C/Apps/Scanner/zndev32.dll", "3.2");
    PutLibrary("C/ZNDEV32.DLL", "4.1");
    PutLibrary("C/Program Files/Vendor/Zndev32.Dll", "4.10");
    PutLibrary("C/Program Files/Vendor/bin/zndev32.dll", "none");
    PutLibrary("D/zndev32.dll", "3.2");
    PutLibrary("E/tools/zndev32.dll", "5.0");
    return {"ZNUPDATE_WINVER=winxp", DriveVariable('C'), DriveVariable('D'),
            "ZNUPDATE_DRIVE_D_TYPE=cdrom", DriveVariable('E')};
  }

  const std::string MixedUpdates =
      "C:\\Apps\\Scanner\\zndev32.dll\n"
      "Updated: C:\\Program Files\\Vendor\\bin\\zndev32.dll\n"
      "Updated: C:\\Program Files\\Vendor\\Zndev32.Dll\n";
};

TEST_F(RunUpdateTest, RefusesEverySystemButWindows2000AndXP) {
  PutLibrary("C/zndev32.dll", "3.2");
  for (const char *system : {"", "ZNUPDATE_WINVER=win98",
                             "ZNUPDATE_WINVER=nt40",
                             "ZNUPDATE_WINVER=win2003"}) {
    ProgramRun run = RunProgram({system, DriveVariable('C')});
    EXPECT_EQ(run.output, std::string(Banner) + Refusal) << system;
    EXPECT_EQ(run.exitCode, 1) << system;
  }
  EXPECT_EQ(AllFiles(), (std::vector<std::string>{"C/zndev32.dll"}));
}

TEST_F(RunUpdateTest, AMachineWithoutCopiesReportsNone) {
  MakeDirectory("C");
  for (const char *system : {"ZNUPDATE_WINVER=win2k", "ZNUPDATE_WINVER=winxp"}) {
    ProgramRun run = RunProgram({system, DriveVariable('C')});
    EXPECT_EQ(run.output, Banner + std::string(Searching) + Report(0));
    EXPECT_EQ(run.exitCode, 0);
  }
}

TEST_F(RunUpdateTest, ReplacesOutdatedCopiesOnFixedDrives) {
  PutSourceLibrary();
  std::vector<std::string> machine = MixedMachine();
  ProgramRun run = RunProgram(machine);
  EXPECT_EQ(run.output, Banner + std::string(Searching) + "Updated: " +
                            MixedUpdates + Report(5));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(HoldsLibrary("C/Apps/Scanner/zndev32.dll", "5.0"));
  EXPECT_TRUE(HoldsLibrary("C/Apps/Scanner/zndev32.dll.old", "3.2"));
  EXPECT_TRUE(HoldsLibrary("C/Program Files/Vendor/Zndev32.Dll.old", "4.10"));
  EXPECT_TRUE(HoldsLibrary("C/ZNDEV32.DLL", "4.1"));
  EXPECT_FALSE(Exists("C/ZNDEV32.DLL.old"));
  EXPECT_TRUE(HoldsLibrary("D/zndev32.dll", "3.2"));

  // A second run finds the same copies, all current now.
  run = RunProgram(machine);
  EXPECT_EQ(run.output, Banner + std::string(Searching) + Report(5));
  EXPECT_EQ(run.exitCode, 0);
}

TEST_F(RunUpdateTest, WithoutASourceLibraryEveryCopyStaysInPlace) {
  std::vector<std::string> machine = MixedMachine();
  std::vector<std::string> before = AllFiles();
  ProgramRun run = RunProgram(machine);
  std::string failed = "Update failed: " + MixedUpdates;
  for (size_t at; (at = failed.find("Updated")) != std::string::npos;)
    failed.replace(at, 7, "Update failed");
  EXPECT_EQ(run.output, Banner + std::string(Searching) + failed + Report(5));
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(AllFiles(), before);
  EXPECT_TRUE(HoldsLibrary("C/Apps/Scanner/zndev32.dll", "3.2"));
}

TEST_F(RunUpdateTest, WithoutTheVersionLibraryNothingIsSearched) {
  PutLibrary("C/zndev32.dll", "3.2");
  MapEmulatedDrive('C', Host("C"), DRIVE_FIXED);
  EmulatedVersion xp;
  ASSERT_TRUE(FindEmulatedVersion("winxp", &xp));
  SetEmulatedVersion(&xp);
  InjectEmulatedFault(EmulatedOperation::LoadLibrary, "version.dll",
                      ERROR_FILE_NOT_FOUND);
  int exitCode = 0;
  EXPECT_EQ(Printed([&] { exitCode = RunUpdate(); }),
            std::string(Banner) +
                "ERROR 103: The version library (version.dll) could not be "
                "loaded from the system directory.\n");
  EXPECT_EQ(exitCode, 1);
  EXPECT_TRUE(HoldsLibrary("C/zndev32.dll", "3.2"));
}

TEST_F(RunUpdateTest, AMalformedMachineIsOneLineAndExitCode1) {
  MakeDirectory("C");
  WriteFile("file", "");
  struct {
    std::vector<std::string> environment;
    std::string message;
  } const cases[] = {
      {{"ZNUPDATE_WINVER=winxq"},
       "ZNUPDATE_WINVER=winxq is not one of win31, win95, win98, winme, nt40, "
       "win2k, winxp, win2003, vista, win7, win8, win10"},
      {{"ZNUPDATE_DRIVE_C=relative/dir"},
       "ZNUPDATE_DRIVE_C=relative/dir is not an absolute path"},
      {{"ZNUPDATE_DRIVE_C="}, "ZNUPDATE_DRIVE_C= is not an absolute path"},
      {{"ZNUPDATE_DRIVE_C=" + Host("missing")},
       "ZNUPDATE_DRIVE_C=" + Host("missing") + " is not a directory"},
      {{"ZNUPDATE_DRIVE_C=" + Host("file")},
       "ZNUPDATE_DRIVE_C=" + Host("file") + " is not a directory"},
      {{DriveVariable('C'), "ZNUPDATE_DRIVE_C_TYPE=floppy"},
       "ZNUPDATE_DRIVE_C_TYPE=floppy is not one of fixed, removable, remote, "
       "cdrom, ramdisk"},
      {{"ZNUPDATE_DRIVE_D_TYPE=cdrom"},
       "ZNUPDATE_DRIVE_D_TYPE is set but ZNUPDATE_DRIVE_D is not"},
      {{"ZNUPDATE_DRIVE_c=/tmp"},
       "ZNUPDATE_DRIVE_c is not a setting of the emulated machine"},
  };
  for (const auto &row : cases) {
    ProgramRun run = RunProgram(row.environment);
    EXPECT_EQ(run.output, "znupdate: " + row.message + "\n");
    EXPECT_EQ(run.exitCode, 1) << row.message;
  }
}

}  // namespace
