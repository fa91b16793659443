#!/usr/bin/env python3
"""Copies a Visual Basic project with about PERCENT % of its statements
changed, moved or re-cased (a third each), for timing kolvane-cli --diff.

    bench/make_changed_copy.py PROJECT.vbp DEST [--percent 5] [--seed 1]

The folder of PROJECT.vbp is copied into DEST as it is; then, in every member
file inside it, statements that stand on one line of their own are picked at
random: a changed one gets " + 1" at its end, a re-cased one has its letters
in upper case (pure ASCII lines only, so no Shift_JIS trail byte is touched),
a moved one changes place with the next such statement. Members outside the
project's folder are not copied; the copy's project file names them by their
absolute paths. Prints how many statements were touched, per kind of change.
"""
import argparse
import os
import random
import re
import shutil
import sys

MEMBER = re.compile(rb"^(Form|Module|Class|UserControl|PropertyPage|UserDocument|Designer)=(.*?)(\r?)$")
HEADER_END = b"Attribute VB_Exposed"
STRUCTURE = re.compile(rb"^\s*((Public|Private|Friend|Static)\s+)*(Sub|Function|Property|End|Attribute|Option|#)",
                       re.IGNORECASE)


def member_path(value):
    """The path part of a member line's value ("Name; path" or "path")."""
    if b";" in value:
        value = value.split(b";", 1)[1]
    return value.strip().decode("latin-1").replace("\\", "/")


def standalone(lines, i):
    """A statement of one line: code, not continued, not continuing, no structure."""
    text = lines[i].rstrip(b"\r\n")
    stripped = text.strip()
    if not stripped or stripped.startswith(b"'") or text.endswith(b" _") or STRUCTURE.match(text):
        return False
    return i == 0 or not lines[i - 1].rstrip(b"\r\n").endswith(b" _")


def change_file(path, share, rng, touched):
    with open(path, "rb") as f:
        lines = f.read().splitlines(keepends=True)
    start = 0
    if not path.lower().endswith(".bas"):
        start = next((i + 1 for i, line in enumerate(lines) if HEADER_END in line), len(lines))
    candidates = [i for i in range(start, len(lines)) if standalone(lines, i)]
    for position, i in enumerate(candidates):
        if rng.random() >= share:
            continue
        kind = rng.choice(("changed", "moved", "recased"))
        body, end = lines[i].rstrip(b"\r\n"), lines[i][len(lines[i].rstrip(b"\r\n")):]
        if kind == "recased" and all(b < 0x80 for b in body) and b'"' not in body:
            lines[i] = body.upper() + end
        elif kind == "moved" and position + 1 < len(candidates):
            j = candidates[position + 1]
            lines[i], lines[j] = lines[j], lines[i]
        else:
            kind = "changed"
            lines[i] = body + b" + 1" + end
        touched[kind] += 1
    with open(path, "wb") as f:
        f.writelines(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("project")
    parser.add_argument("dest")
    parser.add_argument("--percent", type=float, default=5.0)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    source = os.path.dirname(os.path.abspath(args.project))
    if os.path.exists(args.dest):
        sys.exit(f"{args.dest} exists already")
    shutil.copytree(source, args.dest)
    rng = random.Random(args.seed)
    touched = {"changed": 0, "moved": 0, "recased": 0}

    copy = os.path.join(args.dest, os.path.basename(args.project))
    with open(copy, "rb") as f:
        lines = f.read().splitlines(keepends=True)
    for n, line in enumerate(lines):
        match = MEMBER.match(line.rstrip(b"\n"))
        if not match:
            continue
        relative = member_path(match.group(2))
        inside = os.path.normpath(os.path.join(args.dest, relative))
        if os.path.commonpath([os.path.abspath(args.dest), os.path.abspath(inside)]) == os.path.abspath(args.dest):
            if os.path.isfile(inside):
                change_file(inside, args.percent / 100.0, rng, touched)
        else:
            original = os.path.normpath(os.path.join(source, relative)).encode("latin-1")
            value = match.group(2)
            prefix = value.split(b";", 1)[0] + b"; " if b";" in value else b""
            lines[n] = match.group(1) + b"=" + prefix + original + match.group(3) + b"\n"
    with open(copy, "wb") as f:
        f.writelines(lines)
    print(" ".join(f"{kind} {count}" for kind, count in touched.items()))


if __name__ == "__main__":
    main()
