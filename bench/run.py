#!/usr/bin/python3
"""The walk's benchmark. Makes trees of about 100,000 and 1,000,000 entries
once, in a temporary folder, and measures with hyperfine, warm cache:

- the native program over the tree as fixed drive C: against GNU find;
- znupdate.exe under Wine (Windows XP), the tree as fixed drive D:, against
  the minimal FindFirstFileA/FindNextFileA walker, in the same prefix.

Prints each pair's times and ratio against its target, and the peak
resident memory of each command. Run by `make bench`."""
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
NATIVE = os.path.join(BUILD, "native", "znupdate")
FIXTURES = os.path.join(BUILD, "native", "fixtures")
WALKER = os.path.join(BUILD, "windows", "bench", "minimal_walker.exe")
# entries, runs of each native command, runs of each command under Wine
SIZES = [(100000, 10, 5), (1000000, 3, 2)]
TARGETS = {"native": 1.2, "wine": 1.1}

sys.path.insert(0, os.path.join(ROOT, "bench"))
sys.path.insert(0, os.path.join(ROOT, "tests", "windows"))
from make_tree import make_tree  # noqa: E402


def hyperfine(commands, runs, cwd, environment):
    report = os.path.join(os.path.dirname(cwd), "hyperfine.json")
    arguments = ["hyperfine", "-N", "--warmup", "1", "--runs", str(runs),
                 "--style", "none", "--export-json", report]
    subprocess.run(arguments + [shlex.join(c) for c in commands], cwd=cwd,
                   env=environment,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   check=True)
    with open(report) as results:
        return [result["mean"] for result in json.load(results)["results"]]


def peak_memory(command, cwd, environment):
    """Peak resident memory in MiB, from GNU time."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, cwd=cwd,
                            env=environment, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            check=True, text=True)
    return int(result.stderr.strip().splitlines()[-1]) / 1024


def measure(label, commands, runs, cwd, environment):
    program, floor = hyperfine(commands, runs, cwd, environment)
    memory = [peak_memory(command, cwd, environment) for command in commands]
    ratio = program / floor
    verdict = "within" if ratio <= TARGETS[label] else "MISSES"
    print("  %-6s %8.3f s vs %8.3f s  ratio %.2f (%s target %.1f)  "
          "peak memory %.1f MiB vs %.1f MiB" %
          (label, program, floor, ratio, verdict, TARGETS[label],
           memory[0], memory[1]), flush=True)
    return memory[0]


def main():
    work = tempfile.mkdtemp(prefix="znupdate-bench-")
    os.environ.update(
        TEST_WINDOWS_PROGRAM=os.path.join(BUILD, "windows", "znupdate.exe"),
        TEST_NATIVE_PROGRAM=NATIVE, FIXTURE_DIR=FIXTURES,
        WINE_TEST_DIR=os.path.join(work, "wine"))
    import wine_machine
    try:
        wine_machine.setup()
        shutil.copy(WALKER, os.path.join(wine_machine.PROGRAM_FOLDER,
                                         "minimal_walker.exe"))
        share = os.path.join(work, "machine", "S")
        os.makedirs(share)
        memory = {}
        for entries, runs, wine_runs in SIZES:
            tree = os.path.join(work, "tree-%d" % entries)
            made = make_tree(tree, entries, FIXTURES)
            print("Tree of %d entries:" % made, flush=True)
            native = dict(os.environ, ZNUPDATE_WINVER="winxp",
                          ZNUPDATE_DRIVE_C=tree)
            memory[("native", entries)] = measure(
                "native", [[NATIVE], ["find", tree, "-iname", "zndev32.dll"]],
                runs, share, native)
            drive = os.path.join(work, "machine", "D")
            if os.path.lexists(drive):
                os.unlink(drive)
            os.symlink(tree, drive)
            wine_machine.map_drives(os.path.join(work, "machine"))
            wine = wine_machine.wine_environment()
            memory[("wine", entries)] = measure(
                "wine", [["wine", r"C:\znupdate\znupdate-winxp.exe"],
                         ["wine", r"C:\znupdate\minimal_walker.exe"]],
                wine_runs, share, wine)
            shutil.rmtree(tree)
        for label in ["native", "wine"]:
            small, large = memory[(label, 100000)], memory[(label, 1000000)]
            print("Peak memory of %s from 100,000 to 1,000,000 entries: "
                  "%.1f -> %.1f MiB" % (label, small, large))
    finally:
        wine_machine.cleanup()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
