// The gate: which version records let the program run.
#include <gtest/gtest.h>

#include "emulated_machine.h"
#include "system_gate.h"

namespace {

struct GateCase {
  const char *system;
  EmulatedVersion record;
  bool runs;
};

const GateCase GateCases[] = {
    {"Win32s", {VER_PLATFORM_WIN32s, 3, 10, 0, true}, false},
    {"Windows 95", {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950, true}, false},
    {"Windows 98", {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222, true}, false},
    {"Windows ME", {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000, true}, false},
    {"9x family, other", {VER_PLATFORM_WIN32_WINDOWS, 5, 0, 0, true}, false},
    {"NT 3.51", {VER_PLATFORM_WIN32_NT, 3, 51, 1057, true}, false},
    {"NT 4.0", {VER_PLATFORM_WIN32_NT, 4, 0, 1381, true}, false},
    {"Windows 2000", {VER_PLATFORM_WIN32_NT, 5, 0, 2195, true}, true},
    {"Windows XP", {VER_PLATFORM_WIN32_NT, 5, 1, 2600, true}, true},
    {"Server 2003", {VER_PLATFORM_WIN32_NT, 5, 2, 3790, true}, false},
    {"Vista", {VER_PLATFORM_WIN32_NT, 6, 0, 6002, true}, false},
    {"Windows 10", {VER_PLATFORM_WIN32_NT, 10, 0, 19043, true}, false},
    {"unknown platform", {3, 5, 1, 0, true}, false},
    // Systems that take only the basic record are refused on the fallback
    // path, whatever that record says.
    {"XP numbers, basic record only", {VER_PLATFORM_WIN32_NT, 5, 1, 0, false},
     false},
};

TEST(SystemGateTest, RunsOnlyOnWindows2000AndXP) {
  for (const GateCase &row : GateCases) {
    for (bool before : {false, true}) {
      SetEmulatedVersion(&row.record);
      SupportedSystem = before;
      EXPECT_EQ(CheckSystemVersion(), row.runs)
          << row.system << " (flag before: " << before << ")";
      EXPECT_EQ(SupportedSystem, row.runs) << row.system;
    }
  }
}

TEST(SystemGateTest, RefusesWhenNoVersionCanBeQueried) {
  SetEmulatedVersion(nullptr);
  EXPECT_FALSE(CheckSystemVersion());
  EXPECT_FALSE(SupportedSystem);
}

TEST(SystemGateTest, WineVersionNamesMatchTheirSystems) {
  struct {
    const char *name;
    bool runs;
  } const names[] = {{"win31", false},  {"win95", false}, {"win98", false},
                     {"winme", false},  {"nt40", false},  {"win2k", true},
                     {"winxp", true},   {"win2003", false}, {"vista", false},
                     {"win7", false},   {"win8", false},  {"win10", false}};
  for (const auto &row : names) {
    EmulatedVersion record;
    ASSERT_TRUE(FindEmulatedVersion(row.name, &record)) << row.name;
    SetEmulatedVersion(&record);
    EXPECT_EQ(CheckSystemVersion(), row.runs) << row.name;
  }
  EmulatedVersion record;
  EXPECT_FALSE(FindEmulatedVersion("winxp ", &record));
}

}  // namespace
