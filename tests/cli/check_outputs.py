#!/usr/bin/env python3
"""Reads kolvane-cli's extended outputs with Python's own parsers.

Usage: check_outputs.py FILE...

A .csv file must start with a UTF-8 byte-order mark, parse with the csv
module (strict), have rows as wide as its header, and come out byte for byte
the same when the csv module writes the rows back with CR LF. A .json file
must load with the json module. Prints what is wrong and exits 1.
"""
import csv
import io
import json
import sys

BOM = b"\xef\xbb\xbf"


def check_csv(path, data):
    if not data.startswith(BOM):
        return "no byte-order mark"
    text = data[len(BOM):].decode("utf-8")
    rows = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    if not rows or any(len(row) != len(rows[0]) for row in rows):
        return "rows of different widths"
    written = io.StringIO(newline="")
    csv.writer(written, lineterminator="\r\n").writerows(rows)
    if written.getvalue() != text:
        return "does not survive a round trip"
    return None


def main():
    failed = False
    for path in sys.argv[1:]:
        with open(path, "rb") as file:
            data = file.read()
        try:
            problem = check_csv(path, data) if path.endswith(".csv") else json.loads(data.decode("utf-8")) and None
        except (ValueError, csv.Error) as error:
            problem = str(error)
        if problem:
            print("%s: %s" % (path, problem))
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
