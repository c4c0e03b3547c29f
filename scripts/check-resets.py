#!/usr/bin/env python3
"""Keeps every state of the library under its folder's one reset: a .cpp under
src/ that holds a function-local static object (a state struct behind its
accessor) defines a reset, its folder's reset.cpp calls it, and libraryInit
(src/api/lifecycle.cpp) calls the folder's reset. Names every state that no
reset reaches (file and line) and exits 1 if there is one.

The platform seam is left out: its Windows state is the windows of the
process, and the headless records are the test host's, reset by
headless::resetRecords(). So is api: its static objects are the result
buffers of exports, valid until the next call."""
import os
import re
import sys

SKIPPED = {"platform", "api"}
STATE = re.compile(r"^\s+static\s+(?!const\b|constexpr\b)[\w:<>, ]+?\s+\w+\s*(\{\s*\})?;")
RESET = re.compile(r"^void\s+(reset\w+)\s*\(\s*\)\s*\{", re.M)


def states(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            if STATE.match(line):
                yield number, line.strip()


def check_called(src, folder, reset_source):
    """1 if the folder's reset is not called from libraryInit."""
    layer_reset = re.search(r"^void\s+(reset\w+Layer)\s*\(", reset_source, re.M)
    if not layer_reset:
        return 0
    with open(os.path.join(src, "api", "lifecycle.cpp"), encoding="utf-8") as f:
        if re.search(rf"^\s*{layer_reset.group(1)}\s*\(\s*\)\s*;", f.read(), re.M):
            return 0
    print(f"src/{folder}/reset.cpp: {layer_reset.group(1)} is not called from src/api/lifecycle.cpp")
    return 1


def check(src):
    faults = 0
    for folder in sorted(os.listdir(src)):
        root = os.path.join(src, folder)
        if folder in SKIPPED or not os.path.isdir(root):
            continue
        reset_path = os.path.join(root, "reset.cpp")
        called = ""
        if os.path.exists(reset_path):
            with open(reset_path, encoding="utf-8") as f:
                called = f.read()
        for name in sorted(os.listdir(root)):
            if not name.endswith(".cpp") or name == "reset.cpp":
                continue
            path = os.path.join(root, name)
            found = list(states(path))
            if not found:
                continue
            with open(path, encoding="utf-8", errors="replace") as f:
                resets = RESET.findall(f.read())
            if any(re.search(rf"^\s*{r}\s*\(\s*\)\s*;", called, re.M) for r in resets):
                continue
            hint = ("give the file a reset and call it there" if called else
                    "the folder needs a reset.cpp, called from src/api/lifecycle.cpp")
            for number, text in found:
                print(f"src/{folder}/{name}:{number}: '{text}' is not reset by "
                      f"src/{folder}/reset.cpp ({hint})")
                faults += 1
        faults += check_called(src, folder, called)
    if faults:
        print(f"{faults} state(s) or reset(s) outside the chain of resets")
        return 1
    print("every state is under its folder's reset")
    return 0


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    src = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    return check(src)


if __name__ == "__main__":
    sys.exit(main())
