#!/usr/bin/env python3
"""Keeps the folders under src/ layered: a file includes headers of its own
folder or of a folder below it in src/layers.txt, never of one above it.
Names every include that reaches up (file and line) and exits 1 if there is
one. With --graph it prints instead how many include lines each folder has
into each other folder."""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]*"')


def read_layers(src):
    with open(os.path.join(src, "layers.txt"), encoding="utf-8") as f:
        return [line.strip() for line in f if line.strip() and not line.startswith("#")]


def includes(src):
    """(file, line number, its folder, the included folder) of every include
    that names a folder."""
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp", ".c")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    if match:
                        yield rel, number, rel.split("/")[0], match.group(1)


def graph(src, layers):
    counts = {}
    for _, _, source, target in includes(src):
        if source != target:
            counts[(source, target)] = counts.get((source, target), 0) + 1
    rank = {name: i for i, name in enumerate(layers)}
    for (source, target), n in sorted(counts.items(),
                                      key=lambda kv: (rank.get(kv[0][0], 99), rank.get(kv[0][1], 99))):
        up = "   upward" if rank.get(target, 99) > rank.get(source, 99) else ""
        print(f"{source:>10} -> {target:<10} {n:4}{up}")
    return 0


def check(src, layers):
    rank = {name: i for i, name in enumerate(layers)}
    faults = 0
    for rel, number, source, target in includes(src):
        if source not in rank:
            print(f"src/{rel}:{number}: folder '{source}' has no place in src/layers.txt")
        elif target not in rank:
            print(f"src/{rel}:{number}: includes from '{target}', which has no place in src/layers.txt")
        elif rank[target] > rank[source]:
            print(f"src/{rel}:{number}: {source} includes {target}, a higher layer")
        else:
            continue
        faults += 1
    order = " < ".join(layers)
    if faults:
        print(f"{faults} include(s) against the layer order {order}")
        return 1
    print(f"layering kept: {order}")
    return 0


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    src = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    layers = read_layers(src)
    return graph(src, layers) if "--graph" in sys.argv else check(src, layers)


if __name__ == "__main__":
    sys.exit(main())
