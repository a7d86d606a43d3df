// The process start-up of the native program: the emulated machine comes
// from the environment, then the run is the program's whole life.
#include <stdio.h>

#include <string>

#include "emulated_machine.h"
#include "run_update.h"

int main() {
  std::string error;
  if (!ConfigureEmulatedMachineFromEnvironment(&error)) {
    printf("%s\n", error.c_str());
    return 1;
  }
  return RunUpdate();
}
