"""The program runs as an administrator from a folder full of DLLs, and
the loader looks in a program's folder first for the DLLs it imports. A
version.dll planted beside znupdate.exe must never be loaded; the same
plant does catch a program that imports version.dll statically."""
import os
import shutil
import tempfile
import unittest

from wine_machine import PREFIX, build, map_drives, wine

APP = os.path.join(PREFIX, "drive_c", "app")
MARKER = os.path.join(APP, "planted-version-dll-was-loaded")


class WineHijackTest(unittest.TestCase):
    def setUp(self):
        shutil.rmtree(APP, ignore_errors=True)
        os.makedirs(APP)
        shutil.copy(os.environ["PLANTED_VERSION_DLL"],
                    os.path.join(APP, "version.dll"))
        self.folder = tempfile.mkdtemp(prefix="znupdate-hijack-")
        build(self.folder, {"D/zndev32.dll": "3.2", "S/ZNDEV32.DLL": "5.0"})

    def tearDown(self):
        shutil.rmtree(APP, ignore_errors=True)
        shutil.rmtree(self.folder)

    def run_from_app(self, program, name):
        shutil.copy(program, os.path.join(APP, name))
        # Started by its Windows path, so that Wine looks beside it first;
        # native DLLs preferred, as a real system would load them.
        map_drives(self.folder)
        return wine([r"C:\app" + "\\" + name], cwd=os.path.join(self.folder, "S"),
                    dll_overrides="version=n,b")

    def test_a_planted_version_dll_is_never_loaded(self):
        # The AppDefaults entry for this name sets Windows XP.
        result = self.run_from_app(os.environ["TEST_WINDOWS_PROGRAM"],
                                   "znupdate-winxp.exe")
        self.assertFalse(os.path.exists(MARKER))
        self.assertEqual(result.returncode, 0)
        self.assertIn(b"Updated: D:\\zndev32.dll", result.stdout)

    def test_the_plant_catches_a_static_import(self):
        self.run_from_app(os.environ["STATIC_IMPORTER"], "importer.exe")
        self.assertTrue(os.path.exists(MARKER))


if __name__ == "__main__":
    unittest.main()
