#!/usr/bin/env python3
"""Makes two releases of a system for timing kolvane-cli --diff of two
folders: COPIES copies of a project, each in a folder of its own under
DEST/old, and the same copies under DEST/new with about 5% of each one's
statements changed, moved or re-cased (make_changed_copy.py, a seed per copy).

    bench/make_release.py PROJECT.vbp DEST [--copies 20]

The k-th copy is DEST/old/Projk/Projk.vbp (and DEST/new/Projk/Projk.vbp): a
system of projects with titles of their own, whose reports all go into the
output folder itself. Only the members inside the project's folder are
copied. Prints the two folders.
"""
import argparse
import pathlib
import shutil
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("project")
    parser.add_argument("dest")
    parser.add_argument("--copies", type=int, default=20)
    args = parser.parse_args()

    project = pathlib.Path(args.project).resolve()
    dest = pathlib.Path(args.dest)
    old, new = dest / "old", dest / "new"
    if dest.exists():
        sys.exit(f"{dest} exists already")
    for k in range(1, args.copies + 1):
        name = f"Proj{k:02}"
        copy = old / name
        shutil.copytree(project.parent, copy)
        (copy / project.name).rename(copy / f"{name}.vbp")
        subprocess.run([sys.executable, str(HERE / "make_changed_copy.py"), str(copy / f"{name}.vbp"),
                        str(new / name), "--seed", str(k)], check=True, capture_output=True)
    print(old)
    print(new)


if __name__ == "__main__":
    main()
