"""Scenario machines for the Windows program under Wine and for the native
program over its emulated machine: the same drives, drive types, files and
Windows version for both.

A machine is a folder whose subfolders are its drives, named by letter.
Drive letters have fixed types, set once in the Wine prefix:
D and H fixed, E a CD, F a network drive, G removable, and S the network
share the administrator starts the program from (it holds the new library).
C: is Wine's own drive; it is marked as a network drive, so no run searches
it. The program itself sits in C:\\znupdate, one copy per Windows version
("znupdate-winxp.exe"), each with that version set for it in the registry.

Run as a script: `setup` makes the prefix (once per test run), `cleanup`
removes it.
"""
import hashlib
import os
import shutil
import subprocess
import sys

EXE = os.environ["TEST_WINDOWS_PROGRAM"]
NATIVE = os.environ["TEST_NATIVE_PROGRAM"]
FIXTURES = os.environ["FIXTURE_DIR"]
WORK = os.environ["WINE_TEST_DIR"]
PREFIX = os.path.join(WORK, "prefix")
DOSDEVICES = os.path.join(PREFIX, "dosdevices")
PROGRAM_FOLDER = os.path.join(PREFIX, "drive_c", "znupdate")

# letter: (Wine's drive type, the emulated machine's)
DRIVES = {
    "D": ("hd", "fixed"),
    "E": ("cdrom", "cdrom"),
    "F": ("network", "remote"),
    "G": ("floppy", "removable"),
    "H": ("hd", "fixed"),
    "S": ("network", "remote"),
}
RUNNING_VERSIONS = ["win2k", "winxp"]
REFUSED_VERSIONS = ["win95", "win98", "winme", "nt40", "win2003", "vista",
                    "win7", "win10"]
VERSIONS = RUNNING_VERSIONS + REFUSED_VERSIONS


def wine_environment(dll_overrides=""):
    environment = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH="win32",
                       WINEDEBUG="-all", DISPLAY="")
    # No Mono or Gecko installers while the prefix is made.
    environment["WINEDLLOVERRIDES"] = dll_overrides or "mscoree,mshtml="
    return environment


def wine(arguments, cwd, dll_overrides="", timeout=120):
    return subprocess.run(["wine"] + arguments, cwd=cwd,
                          env=wine_environment(dll_overrides),
                          stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=timeout)


def setup():
    cleanup()
    os.makedirs(PREFIX)
    subprocess.run(["wineboot", "-i"], env=wine_environment(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=300)
    # z: maps the whole host; no drive but Wine's own C: is left.
    for entry in os.listdir(DOSDEVICES):
        if entry != "c:":
            os.unlink(os.path.join(DOSDEVICES, entry))
    lines = ["REGEDIT4", "", r"[HKEY_LOCAL_MACHINE\Software\Wine\Drives]",
             '"c:"="network"']
    lines += ['"%s:"="%s"' % (letter.lower(), types[0])
              for letter, types in DRIVES.items()]
    os.makedirs(PROGRAM_FOLDER)
    for version in VERSIONS:
        name = "znupdate-%s.exe" % version
        shutil.copy(EXE, os.path.join(PROGRAM_FOLDER, name))
        lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\AppDefaults\%s]" % name,
                  '"Version"="%s"' % version]
    drive_c = os.path.join(PREFIX, "drive_c")
    with open(os.path.join(drive_c, "setup.reg"), "w") as registry:
        registry.write("\r\n".join(lines) + "\r\n")
    wine(["regedit", "/S", r"C:\setup.reg"], cwd=drive_c).check_returncode()
    # Drive types are read when the server starts.
    subprocess.run(["wineserver", "-k"], env=wine_environment())
    subprocess.run(["wineserver", "-w"], env=wine_environment())


def cleanup():
    if os.path.isdir(PREFIX):
        subprocess.run(["wineserver", "-k"], env=wine_environment())
    shutil.rmtree(WORK, ignore_errors=True)


class Dir:
    """A folder, with DOS attributes (the text Wine and Samba store)."""
    def __init__(self, attributes=None):
        self.attributes = attributes


class Link:
    """A symbolic link; relative, so that it holds in every copy."""
    def __init__(self, target):
        self.target = target


def build(root, layout):
    """Lays out a machine: path -> a test library's version ("3.2", "none"),
    Dir, Link or bytes. The share S always exists."""
    os.makedirs(os.path.join(root, "S"), exist_ok=True)
    for path, item in sorted(layout.items()):
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        if isinstance(item, Dir):
            os.makedirs(full, exist_ok=True)
            if item.attributes:
                os.setxattr(full, "user.DOSATTRIB", item.attributes.encode())
        elif isinstance(item, Link):
            os.symlink(item.target, full)
        elif isinstance(item, bytes):
            with open(full, "wb") as file:
                file.write(item)
        else:
            shutil.copy(os.path.join(FIXTURES, "zndev32-%s.dll" % item), full)


def fixture_digest(version):
    with open(os.path.join(FIXTURES, "zndev32-%s.dll" % version), "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def snapshot(root):
    """Every file and link below root: path -> the version of the test
    library it holds (or a digest), or "-> target" for a link."""
    versions = {fixture_digest(name[len("zndev32-"):-len(".dll")]):
                name[len("zndev32-"):-len(".dll")]
                for name in os.listdir(FIXTURES)
                if name.startswith("zndev32-") and name.endswith(".dll")}
    files = {}
    for folder, folders, names in os.walk(root):
        for name in folders + names:
            full = os.path.join(folder, name)
            path = os.path.relpath(full, root)
            if os.path.islink(full):
                files[path] = "-> " + os.readlink(full)
            elif os.path.isfile(full):
                with open(full, "rb") as file:
                    digest = hashlib.sha256(file.read()).hexdigest()
                files[path] = versions.get(digest, digest)
    return files


def map_drives(root):
    """Points Wine's drive letters at the machine's drives."""
    for letter in DRIVES:
        link = os.path.join(DOSDEVICES, letter.lower() + ":")
        if os.path.lexists(link):
            os.unlink(link)
        if os.path.isdir(os.path.join(root, letter)):
            os.symlink(os.path.join(root, letter), link)


def run_wine(version, root, dll_overrides=""):
    """Runs znupdate.exe under Wine on the machine at root, from S:."""
    map_drives(root)
    result = wine([r"C:\znupdate\znupdate-%s.exe" % version],
                  cwd=os.path.join(root, "S"), dll_overrides=dll_overrides)
    return result.stdout.decode("latin-1"), result.returncode


def run_native(version, root):
    """Runs the native program on the same machine, from the share."""
    environment = {"ZNUPDATE_WINVER": version}
    for letter, types in DRIVES.items():
        if os.path.isdir(os.path.join(root, letter)):
            environment["ZNUPDATE_DRIVE_" + letter] = os.path.join(root, letter)
            environment["ZNUPDATE_DRIVE_%s_TYPE" % letter] = types[1]
    result = subprocess.run([NATIVE], cwd=os.path.join(root, "S"),
                            env=environment, stdin=subprocess.DEVNULL,
                            capture_output=True, timeout=120)
    return result.stdout.decode("latin-1"), result.returncode


if __name__ == "__main__":
    {"setup": setup, "cleanup": cleanup}[sys.argv[1]]()
