#!/usr/bin/env python3
"""Checks what make release wrote into dist/: each zip's layout, the checksums,
the plug-in list entries, and that the version agrees everywhere with the
FileVersion read back from each packaged DLL's version block.

Usage: scripts/check-release.py [--dist dist] [--url BASE]
Prints "ok ..." / "FAIL ..." lines; the exit status is 1 on any failure.
"""
import argparse
import hashlib
import json
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

FILES = {"Quillet.dll", "ShowCmds.zrt", "Quillet.udl.xml", "LICENSE", "README.txt"}
MACHINES = {"x86": 0x14C, "x64": 0x8664}
ENTRY_KEYS = {"folder-name", "display-name", "version", "npp-compatible-versions", "id",
              "repository", "description", "author", "homepage"}
failures = 0


def check(ok, what):
    global failures
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures += 1
    return ok


def pe_machine(dll):
    offset = struct.unpack_from("<I", dll, 0x3C)[0]
    if dll[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", dll, offset + 4)[0]


def fixed_file_version(dll):
    """The file version of VS_FIXEDFILEINFO (signature 0xFEEF04BD) as a.b.c.d."""
    at = dll.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", dll, at + 8)
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def string_file_version(dll):
    """The "FileVersion" text of the StringFileInfo block (UTF-16)."""
    key = "FileVersion\0".encode("utf-16-le")
    at = dll.find(key)
    if at < 0:
        return None
    at += len(key)
    at += (4 - at % 4) % 4  # the value starts on a 32-bit boundary
    end = at
    while dll[end:end + 2] != b"\0\0":
        end += 2
    return dll[at:end].decode("utf-16-le")


def cmake_version():
    text = open("CMakeLists.txt", encoding="utf-8").read()
    return re.search(r"project\(Quillet VERSION ([0-9.]+)", text).group(1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", default="dist")
    parser.add_argument("--url", default="")
    args = parser.parse_args()
    version = cmake_version()
    print("release check: version %s (CMake project version)" % version)

    tool = subprocess.run(["build/quillet", "--version"], capture_output=True, text=True)
    check(tool.returncode == 0 and tool.stdout.split()[1:2] == [version],
          "quillet --version says %s: %s" % (version, tool.stdout.strip()))

    sums = {}
    for line in open(os.path.join(args.dist, "SHA256SUMS"), encoding="utf-8"):
        digest, name = line.rstrip("\n").split("  ", 1)
        sums[name] = digest
    zips = {arch: "Quillet-%s-%s.zip" % (version, arch) for arch in MACHINES}
    check(set(sums) == set(zips.values()), "SHA256SUMS lists both zips: %s" % sorted(sums))
    with open("build/Quillet.udl.xml", "rb") as f:
        udl_built = f.read()

    for arch, name in zips.items():
        path = os.path.join(args.dist, name)
        if not check(os.path.isfile(path), "%s exists" % path):
            continue
        digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
        check(sums.get(name) == digest, "%s: checksum in SHA256SUMS" % name)
        with zipfile.ZipFile(path) as z:
            check(z.testzip() is None, "%s: every member reads back" % name)
            names = set(z.namelist())
            check(names == FILES, "%s holds exactly %s at its root: %s"
                  % (name, sorted(FILES), sorted(names)))
            dll = z.read("Quillet.dll") if "Quillet.dll" in names else b""
            udl = z.read("Quillet.udl.xml") if "Quillet.udl.xml" in names else b""
            licence = z.read("LICENSE") if "LICENSE" in names else b""
            readme = z.read("README.txt") if "README.txt" in names else b""
        check(pe_machine(dll) == MACHINES[arch], "%s: Quillet.dll is the %s build" % (name, arch))
        fixed = fixed_file_version(dll)
        text = string_file_version(dll)
        check(fixed == version and text == version,
              "%s: the DLL's FileVersion (%s, text %s) is %s" % (name, fixed, text, version))
        check(udl == udl_built, "%s: Quillet.udl.xml is the one the build generated" % name)
        try:
            lang = ElementTree.fromstring(udl).find("UserLang")
            check(lang is not None and lang.get("name") == "Quillet" and lang.get("ext") == "zrt",
                  "%s: Quillet.udl.xml is a user-defined language for .zrt" % name)
        except ElementTree.ParseError as e:
            check(False, "%s: Quillet.udl.xml is well-formed XML (%s)" % (name, e))
        check(licence.startswith(b"MIT License"), "%s: LICENSE is the MIT licence" % name)
        check(version.encode() in readme, "%s: README.txt names the version" % name)

        entry_path = os.path.join(args.dist, "pluginlist-entry.%s.json" % arch)
        entry = json.load(open(entry_path, encoding="utf-8"))
        check(set(entry) == ENTRY_KEYS, "%s: the plug-in list's keys" % entry_path)
        check(entry.get("folder-name") == "Quillet", "%s: folder-name Quillet" % entry_path)
        check(entry.get("version") == fixed, "%s: version equals the DLL's FileVersion" % entry_path)
        check(entry.get("id") == digest, "%s: id is the zip's SHA-256" % entry_path)
        repository = entry.get("repository", "")
        check(repository.endswith("/" + name) and repository.startswith(args.url or "https://"),
              "%s: repository is the zip's address: %s" % (entry_path, repository))
        check(bool(re.fullmatch(r"\[[0-9.]*,[0-9.]*\]", entry.get("npp-compatible-versions", ""))),
              "%s: npp-compatible-versions" % entry_path)

    print("release check: %s" % ("FAILURES: %d" % failures if failures else "all passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
