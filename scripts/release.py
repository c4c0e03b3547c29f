#!/usr/bin/env python3
"""Writes the release packages into dist/: one zip per architecture (the DLL at
the zip's root, as Plugins Admin unpacks it into plugins\\Quillet\\), their
SHA256SUMS, and the entry of Notepad++'s plug-in list for each.

Usage: scripts/release.py [--url BASE] [--out dist]
The download address of a zip is BASE + "/" + its name; without a base (the
RELEASE_URL of make release) a placeholder address stands in.
"""
import argparse
import hashlib
import json
import os
import sys
import zipfile

ARCHES = {"x86": "build-win32", "x64": "build-win64"}
PLACEHOLDER_URL = "https://example.invalid/quillet/releases/download/v{version}"
HOMEPAGE = "https://example.invalid/quillet"
# A fixed time stamp: the same sources give the same zips, and the same ids.
ZIP_TIME = (2009, 9, 28, 0, 0, 0)


def read_version(build):
    with open(os.path.join(build, "version.txt"), encoding="utf-8") as f:
        return f.read().strip()


def package_files(build, version):
    """(name in the zip, bytes) for every file of one package."""
    def data(path):
        with open(path, "rb") as f:
            return f.read()

    with open("packaging/README.txt", encoding="utf-8") as f:
        readme = f.read().replace("@VERSION@", version)
    return [
        ("Quillet.dll", data(os.path.join(build, "Quillet.dll"))),
        ("ShowCmds.zrt", data("src/plugin/ShowCmds.zrt")),
        ("Quillet.udl.xml", data("build/Quillet.udl.xml")),
        ("LICENSE", data("LICENSE")),
        ("README.txt", readme.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")),
    ]


def write_zip(path, files):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, content in files:
            info = zipfile.ZipInfo(name, ZIP_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            z.writestr(info, content)


def sha256(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 16), b""):
            h.update(block)
    return h.hexdigest()


def list_entry(version, digest, address):
    return {
        "folder-name": "Quillet",
        "display-name": "Quillet",
        "version": version,
        "npp-compatible-versions": "[8.0,]",
        "id": digest,
        "repository": address,
        "description": "A calculator in the editor: evaluates formulas and scripts "
                       "(variables, functions, matrices, integrals, derivatives, solvers, "
                       "plots) from the selection, the current line or the whole file.",
        "author": "the Quillet project",
        "homepage": HOMEPAGE,
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--url", default="")
    parser.add_argument("--out", default="dist")
    args = parser.parse_args()

    versions = {read_version(b) for b in ["build"] + list(ARCHES.values())}
    if len(versions) != 1:
        sys.exit("release: the builds disagree on the version: %s" % sorted(versions))
    version = versions.pop()
    base = (args.url or PLACEHOLDER_URL.format(version=version)).rstrip("/")

    os.makedirs(args.out, exist_ok=True)
    sums = []
    for arch, build in ARCHES.items():
        name = "Quillet-%s-%s.zip" % (version, arch)
        path = os.path.join(args.out, name)
        write_zip(path, package_files(build, version))
        digest = sha256(path)
        sums.append("%s  %s\n" % (digest, name))
        entry = list_entry(version, digest, base + "/" + name)
        with open(os.path.join(args.out, "pluginlist-entry.%s.json" % arch), "w",
                  encoding="utf-8") as f:
            json.dump(entry, f, indent=4)
            f.write("\n")
        print("release: %s %s" % (path, digest))
    with open(os.path.join(args.out, "SHA256SUMS"), "w", encoding="utf-8") as f:
        f.writelines(sums)


if __name__ == "__main__":
    main()
