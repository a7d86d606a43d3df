"""Lists every file named like the library (backups too) below a folder,
with the file version of its version resource."""
import os
import sys

import pefile


def file_version(path):
    try:
        image = pefile.PE(path, fast_load=True)
        image.parse_data_directories(
            [pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        fixed = image.VS_FIXEDFILEINFO[0]
    except (pefile.PEFormatError, AttributeError, IndexError, OSError):
        return "no version resource"
    return "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                            fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)


def show(root):
    for folder, _, names in sorted(os.walk(root)):
        for name in sorted(names, key=str.upper):
            if name.upper().startswith("ZNDEV32.DLL"):
                path = os.path.join(folder, name)
                print("  %-58s %s" % (os.path.relpath(path, root), file_version(path)))


if __name__ == "__main__":
    show(sys.argv[1])
