#!/usr/bin/env python3
"""Reads faults.txt for run.sh.

A fault is a block of lines:
    == id
    file: path/from/the/top
    find: text that stands exactly once in the file
    replace: what it becomes
    why: what the slip is (optional)
Blocks are separated by blank lines; lines starting with # are comments. In find and replace,
\\n stands for a line break and \\\\n for the two characters backslash and n.

    faults.py list FAULTS [ID ...]      prints the ids, all or the ones named
    faults.py file FAULTS ID            prints the file of one fault
    faults.py apply FAULTS ID TREE      applies one fault below TREE; fails when its text is not
                                        found exactly once
"""
import sys


def read(path):
    faults, current = [], None
    for raw in open(path, encoding="utf-8"):
        line = raw.rstrip("\n")
        if line.startswith("#"):
            continue
        if line.startswith("== "):
            current = {"id": line[3:].strip()}
            faults.append(current)
        elif current is not None and ": " in line:
            key, value = line.split(": ", 1)
            current[key.strip()] = value.replace("\\\\n", "\0").replace("\\n", "\n").replace("\0", "\\n")
    for f in faults:
        missing = {"file", "find", "replace"} - f.keys()
        if missing:
            sys.exit("fault %s lacks %s" % (f["id"], ", ".join(sorted(missing))))
    return faults


def main():
    action, path = sys.argv[1], sys.argv[2]
    faults = read(path)
    if action == "list":
        wanted = set(sys.argv[3:])
        for f in faults:
            if not wanted or f["id"] in wanted:
                print(f["id"])
    elif action == "file":
        print(next(f for f in faults if f["id"] == sys.argv[3])["file"])
    elif action == "apply":
        fault = next(f for f in faults if f["id"] == sys.argv[3])
        target = sys.argv[4] + "/" + fault["file"]
        text = open(target, encoding="utf-8").read()
        if text.count(fault["find"]) != 1:
            sys.exit(1)
        open(target, "w", encoding="utf-8").write(text.replace(fault["find"], fault["replace"]))


if __name__ == "__main__":
    main()
