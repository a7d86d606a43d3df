#!/usr/bin/python3
"""Builds a sample workstation under build/demo and runs znupdate.exe on it
under Wine set to Windows XP, as an administrator would from a share: two
fixed disks with copies old and new, a CD it must not touch, a system
folder it must not enter. Shows every copy's version before and after."""
import os
import shutil
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEMO = os.path.join(ROOT, "build", "demo")
os.environ.update(
    TEST_WINDOWS_PROGRAM=os.path.join(ROOT, "build", "windows", "znupdate.exe"),
    TEST_NATIVE_PROGRAM=os.path.join(ROOT, "build", "native", "znupdate"),
    FIXTURE_DIR=os.path.join(ROOT, "build", "native", "fixtures"),
    WINE_TEST_DIR=os.path.join(DEMO, "wine"))
sys.path.insert(0, os.path.join(ROOT, "tests", "windows"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))

import wine_machine  # noqa: E402
from show_versions import show  # noqa: E402

MACHINE = os.path.join(DEMO, "machine")
LAYOUT = {
    "D/Program Files/Scanner/zndev32.dll": "3.2",
    "D/Program Files/Film Lab/ZNDEV32.DLL": "4.1",
    "D/WINNT/system32/Zndev32.dll": "4.10",
    "D/Apps/Legacy/zndev32.dll": "none",
    "D/System Volume Information": wine_machine.Dir("0x6"),
    "D/System Volume Information/zndev32.dll": "3.2",
    "H/Tools/zndev32.dll": "4.0",
    "E/zndev32.dll": "3.2",
    "S/ZNDEV32.DLL": "5.0",
}


def main():
    shutil.rmtree(DEMO, ignore_errors=True)
    print("Making a Wine prefix set to Windows XP ...")
    wine_machine.setup()
    wine_machine.build(MACHINE, LAYOUT)
    print("The sample workstation: D: and H: fixed disks, E: a CD,"
          " S: the share with the new library.\nBefore:")
    show(MACHINE)
    print("\nRunning S:\\> znupdate.exe under Wine (Windows XP):\n")
    output, code = wine_machine.run_wine("winxp", MACHINE)
    print(output.replace("\r\n", "\n"))
    print("Exit code: %d\nAfter (backups end in .old):" % code)
    show(MACHINE)
    wine_machine.cleanup()


if __name__ == "__main__":
    main()
