"""znupdate.exe under Wine set to each Windows version, on scenario
machines: its output byte for byte (CR LF line ends), its exit code and
every file afterwards. Each scenario also runs the native program on an
identical machine, which must print the same and leave the same files:
Wine stands for Windows here, so it checks the emulated machine."""
import os
import shutil
import tempfile
import unittest

from wine_machine import (Dir, Link, REFUSED_VERSIONS, RUNNING_VERSIONS,
                          build, run_native, run_wine, snapshot)

BANNER = ("***********************************************************\n"
          "***\tWelcome to the ZERNA Systems Film Digitizer\t***\n"
          "***\tProgramming Library File Update Program\t\t***\n"
          "***********************************************************\n\n")
REFUSAL = ("ERROR 102: The update program will not run on Windows 95, 98, "
           "ME, or NT operating systems.\nExiting...\n")
SEARCHING = ("Searching all local drives for copies of Zndev32.dll, please "
             "wait...\n\n")


def report(found):
    return ("Number of Zndev32.dll files found = %d\n\n"
            "Exiting, press any key to quit.\n" % found)


def windows_text(text):
    return text.replace("\n", "\r\n")


class WineRunTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="znupdate-wine-")

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_both(self, version, layout, runs=1):
        """Runs both programs `runs` times on their own copies of a machine;
        checks they agree and returns Wine's outputs, exit codes and files."""
        machines = tempfile.mkdtemp(dir=self.folder)
        wine_root = os.path.join(machines, "wine")
        native_root = os.path.join(machines, "native")
        build(wine_root, layout)
        build(native_root, layout)
        results = []
        for run in range(runs):
            output, code = run_wine(version, wine_root)
            native_output, native_code = run_native(version, native_root)
            where = "%s, run %d" % (version, run + 1)
            self.assertEqual(windows_text(native_output), output, where)
            self.assertEqual(native_code, code, where)
            self.assertEqual(snapshot(native_root), snapshot(wine_root), where)
            results.append((output, code))
        return results, snapshot(wine_root)

    def test_runs_only_on_windows_2000_and_xp(self):
        layout = {"D/app/zndev32.dll": "3.2", "S/ZNDEV32.DLL": "5.0"}
        for version in REFUSED_VERSIONS:
            with self.subTest(version):
                [(output, code)], files = self.run_both(version, layout)
                self.assertEqual(output, windows_text(BANNER + REFUSAL))
                self.assertEqual(code, 1)
                self.assertNotIn("D/app/zndev32.dll.old", files)
        for version in RUNNING_VERSIONS:
            with self.subTest(version):
                [(output, code)], files = self.run_both(version, layout)
                self.assertEqual(output, windows_text(
                    BANNER + SEARCHING + "Updated: D:\\app\\zndev32.dll\n" +
                    report(1)))
                self.assertEqual(code, 0)
                self.assertEqual(files["D/app/zndev32.dll"], "5.0")
                self.assertEqual(files["D/app/zndev32.dll.old"], "3.2")

    def test_a_workstation_updated_twice(self):
        versions = ["2.0", "3.2", "4.0", "4.1", "4.10", "4.100", "4.1000",
                    "4.10000", "4.2", "4.65535", "5.0", "none"]
        layout = {"D/versions/%s/zndev32.dll" % v: v for v in versions}
        layout.update({
            "D/ZNDEV32.DLL": "3.2",
            "D/Apps/Scanner/zndev32.dll": "3.2",
            "D/Apps/ZNDEV32.DLL/Zndev32.Dll": "4.0",
            "D/.config/zndev32.dll": "3.2",
            "D/Hidden": Dir("0x2"),
            "D/Hidden/zndev32.dll": "3.2",
            "D/Sys": Dir("0x4"),
            "D/Sys/zndev32.dll": "3.2",
            "D/System Volume Information": Dir("0x6"),
            "D/System Volume Information/zndev32.dll": "3.2",
            "D/loop/back": Link(".."),
            "D/loop/self": Link("."),
            "D/loop/zndev32.dll": "3.2",
            "D/Backup/zndev32.dll": "3.2",
            "D/Backup/zndev32.dll.old": "2.0",
            "E/zndev32.dll": "3.2",
            "F/zndev32.dll": "3.2",
            "G/zndev32.dll": "3.2",
            "H/Program Files/Vendor/zndev32.dll": "none",
            "S/ZNDEV32.DLL": "5.0",
        })
        (first, second), files = self.run_both("winxp", layout, runs=2)
        updated = [r"D:\Apps\Scanner\zndev32.dll",
                   r"D:\Apps\ZNDEV32.DLL\Zndev32.Dll",
                   r"D:\Backup\zndev32.dll", r"D:\Hidden\zndev32.dll",
                   r"D:\loop\zndev32.dll"]
        updated += [r"D:\versions\%s\zndev32.dll" % v for v in
                    ["2.0", "3.2", "4.0", "4.10", "4.1000", "4.10000", "none"]]
        updated += [r"D:\ZNDEV32.DLL", r"H:\Program Files\Vendor\zndev32.dll"]
        lines = "".join("Updated: %s\n" % path for path in updated)
        self.assertEqual(first, (windows_text(
            BANNER + SEARCHING + lines + report(19)), 0))
        self.assertEqual(second, (windows_text(
            BANNER + SEARCHING + report(19)), 0))
        # The backup an earlier run left is kept; the copy was overwritten.
        self.assertEqual(files["D/Backup/zndev32.dll.old"], "2.0")
        self.assertEqual(files["D/Backup/zndev32.dll"], "5.0")
        for version in ["4.1", "4.100", "4.2", "4.65535", "5.0"]:
            self.assertNotIn("D/versions/%s/zndev32.dll.old" % version, files)
        for drive in "EFG":
            self.assertEqual(files["%s/zndev32.dll" % drive], "3.2")
        for folder in ["Sys", "System Volume Information", ".config"]:
            self.assertEqual(files["D/%s/zndev32.dll" % folder], "3.2")

    def test_without_the_new_library_every_copy_stays(self):
        layout = {"D/app/zndev32.dll": "3.2", "D/zndev32.dll": "none",
                  "D/app/current/ZNDEV32.DLL": "4.1"}
        [(output, code)], files = self.run_both("win2k", layout)
        self.assertEqual(output, windows_text(
            BANNER + SEARCHING + "Update failed: D:\\app\\zndev32.dll\n"
            "Update failed: D:\\zndev32.dll\n" + report(3)))
        self.assertEqual(code, 2)
        self.assertEqual(files, {"D/app/zndev32.dll": "3.2",
                                 "D/zndev32.dll": "none",
                                 "D/app/current/ZNDEV32.DLL": "4.1"})

    def test_without_the_version_library_nothing_is_searched(self):
        root = os.path.join(self.folder, "machine")
        build(root, {"D/zndev32.dll": "3.2", "S/ZNDEV32.DLL": "5.0"})
        output, code = run_wine("winxp", root, dll_overrides="version=d")
        self.assertEqual(output, windows_text(
            BANNER + "ERROR 103: The version library (version.dll) could not "
            "be loaded from the system directory.\n"))
        self.assertEqual(code, 1)
        self.assertEqual(snapshot(root)["D/zndev32.dll"], "3.2")


if __name__ == "__main__":
    unittest.main()
