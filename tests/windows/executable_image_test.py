"""znupdate.exe as Windows 2000 loads it: a 32-bit console program whose
headers ask for no newer system, that imports only what Windows 2000's
kernel32.dll and msvcrt.dll export, with its own version resource."""
import os
import unittest

import pefile

HERE = os.path.dirname(os.path.abspath(__file__))


def allowed_imports():
    allowed = set()
    with open(os.path.join(HERE, "windows2000-imports.txt")) as listing:
        for line in listing:
            words = line.split("#")[0].split()
            if words:
                allowed.add((words[0].lower(), words[1]))
    return allowed


class ExecutableImageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.image = pefile.PE(os.environ["TEST_WINDOWS_PROGRAM"])

    def test_is_a_32_bit_console_program_for_windows_2000(self):
        header = self.image.OPTIONAL_HEADER
        self.assertEqual(self.image.FILE_HEADER.Machine, 0x14C)  # i386
        self.assertEqual(header.Magic, 0x10B)  # PE32
        self.assertEqual(header.Subsystem, 3)  # console
        self.assertLessEqual((header.MajorOperatingSystemVersion,
                              header.MinorOperatingSystemVersion), (5, 0))
        self.assertLessEqual((header.MajorSubsystemVersion,
                              header.MinorSubsystemVersion), (5, 0))

    def test_imports_only_what_windows_2000_exports(self):
        allowed = allowed_imports()
        imported = set()
        for library in self.image.DIRECTORY_ENTRY_IMPORT:
            for function in library.imports:
                self.assertIsNotNone(function.name, "import by ordinal")
                imported.add((library.dll.decode().lower(),
                              function.name.decode()))
        self.assertEqual({dll for dll, _ in imported},
                         {"kernel32.dll", "msvcrt.dll"})
        self.assertEqual(sorted(imported - allowed), [])

    def test_carries_its_version(self):
        fixed = self.image.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS),
                         (0x20000, 0x10000))  # 2.0.1.0
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS),
                         (0x20000, 0))  # 2.0.0.0
        self.assertEqual(fixed.FileType, 1)  # VFT_APP
        strings = {}
        for info in self.image.FileInfo[0]:
            for table in getattr(info, "StringTable", []):
                strings.update(table.entries)
        self.assertEqual(strings[b"FileVersion"], b"2.0.1.0")
        self.assertEqual(strings[b"ProductVersion"], b"2.0.0.0")
        self.assertEqual(strings[b"OriginalFilename"], b"znupdate.exe")


if __name__ == "__main__":
    unittest.main()
