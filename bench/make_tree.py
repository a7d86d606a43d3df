#!/usr/bin/python3
"""Makes a drive-like tree of about N entries: application folders several
levels deep, some wide folders of many files, a few long chains of nested
folders, and a few copies of the library (all current, so that a run only
walks and reads versions, and every run of a benchmark does the same).

usage: make_tree.py FOLDER ENTRIES FIXTURE_DIR
"""
import os
import random
import shutil
import sys


def make_tree(root, entries, fixtures):
    rng = random.Random(entries)
    os.makedirs(root)
    made = 0
    folders = [root]
    copies = 0
    while made < entries:
        parent = folders[rng.randrange(len(folders))]
        depth = parent.count(os.sep) - root.count(os.sep)
        kind = rng.random()
        if kind < 0.02 and depth < 4:
            # A long chain of nested folders.
            path = os.path.join(parent, "Chain %05d" % made)
            os.mkdir(path)
            made += 1
            for level in range(rng.randint(10, 30)):
                path = os.path.join(path, "level%02d" % level)
                os.mkdir(path)
                made += 1
            folders.append(path)
            continue
        folder = os.path.join(parent, "Folder %05d" % made)
        if depth > 12:
            continue
        os.mkdir(folder)
        folders.append(folder)
        made += 1
        # Mostly small folders, now and then a wide one.
        files = rng.randint(2, 40) if rng.random() < 0.97 else rng.randint(500, 3000)
        for index in range(min(files, entries - made)):
            name = "file%05d.%s" % (index, rng.choice(["dll", "exe", "dat", "txt", "ini"]))
            os.close(os.open(os.path.join(folder, name), os.O_CREAT | os.O_WRONLY, 0o644))
        made += files
        if copies < 8 and rng.random() < 0.01:
            version = rng.choice(["4.1", "4.2", "5.0"])
            shutil.copy(os.path.join(fixtures, "zndev32-%s.dll" % version),
                        os.path.join(folder, rng.choice(["zndev32.dll", "ZNDEV32.DLL"])))
            copies += 1
    return made


if __name__ == "__main__":
    print(make_tree(sys.argv[1], int(sys.argv[2]), sys.argv[3]))
