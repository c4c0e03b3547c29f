#!/usr/bin/env python3
"""Seed corpora of the fuzz harnesses, cut from the golden scripts and tests.

Usage: scripts/fuzz-seeds.py OUTDIR
Writes OUTDIR/<harness>/<n> files: whole scripts for the script harnesses
(also with byte-order marks for the file reader), single lines and the
text literals of the evaluator, differentiator and numerics tests for the
formula harnesses. The seeds are rebuilt from the scripts on every run, so
they follow the scripts as those grow.
"""
import hashlib
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
out = pathlib.Path(sys.argv[1])
scripts = sorted((root / "tests" / "scripts").glob("*.zrt")) + sorted(
    (root / "tests" / "scripts").glob("*.txt"))
texts = [p.read_bytes() for p in scripts]
lines = sorted({l.strip() for t in texts for l in t.splitlines() if l.strip()})


def right_side(line):
    # "Integrate(0;1;10;0;x) = x^2" hands "x^2" to the formula harnesses too.
    return line.split(b"=", 1)[1].strip() if b"=" in line else line


literal = re.compile(rb'"((?:[^"\\\n]|\\.){1,200})"')
tested = {
    m.group(1).replace(b"\\\\", b"\\").replace(b'\\"', b'"')
    for folder in ("evaluator", "sdiff", "numerics", "memory")
    for p in sorted((root / "tests" / folder).glob("*.cpp"))
    for m in literal.finditer(p.read_bytes())
}
formulas = sorted(set(lines) | {right_side(l) for l in lines} | tested)
seeds = {
    "fuzz_script": texts,
    "fuzz_scriptfile": texts
    + [b"\xef\xbb\xbf" + t for t in texts]
    + [b"\xff\xfe" + t.decode("utf-8", "replace").encode("utf-16-le") for t in texts],
    "fuzz_cmdline": [b"/noh /log\n" + t for t in texts] + [b"/dec:4 /noh\n" + t for t in texts],
    "fuzz_plugin": texts + formulas,
    "fuzz_eval": formulas,
    "fuzz_matrix": [l for l in lines if b"[" in l],
    "fuzz_sdiff": [b"x\n" + f for f in formulas],
    "fuzz_poly": [b"x\n" + f for f in formulas],
    # Numbers come from the end of the input, the variable name (up to "\\ ")
    # from its start.
    "fuzz_evals": [b"x\\ " + f + b"\x00" * 24 for f in formulas],
    "fuzz_integrate": [b"x\\ " + f + b"\x00" * 24 for f in formulas],
    "fuzz_solvers": [b"x\\ " + f + b"\x00" * 8 for f in formulas],
    "fuzz_prepared": [b"x\\ " + f + b"\x00" * 66 for f in formulas],
}
for harness, items in seeds.items():
    folder = out / harness
    folder.mkdir(parents=True, exist_ok=True)
    for item in items:
        (folder / hashlib.sha1(item).hexdigest()).write_bytes(item)
