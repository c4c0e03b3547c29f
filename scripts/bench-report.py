#!/usr/bin/env python3
"""Writes docs/performance.md from the JSON files of one `make bench` run.

Benchmark names follow one convention: COMPARISON/IMPLEMENTATION/CASE, e.g.
BM_Inv/Quillet/50 and BM_Inv/Eigen/50. Two runs with the same comparison and
case are paired: the one named Quillet is ours, the other the peer. A name
that does not have that form, or whose comparison has no peer, is a figure of
Quillet alone. Components with a colon (iterations:2, repeats:3) describe how
a benchmark ran and are left out of the pairing.

Each program's figures come with the leading comment of its source files under
bench/<program>/, which says what the figures are and what to compare them with.

Usage: bench-report.py --source DIR --build DIR --out FILE RESULT.json...
"""

import argparse
import datetime
import json
import os
import platform
import re
import subprocess
import sys

OURS = "Quillet"


def read_cmake_cache(build):
    cache = {}
    try:
        with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
            for line in f:
                m = re.match(r"^([A-Za-z_0-9]+):[A-Z]+=(.*)$", line.rstrip("\n"))
                if m:
                    cache[m.group(1)] = m.group(2)
    except OSError:
        pass
    return cache


def first_line_of(command):
    try:
        out = subprocess.run(command, capture_output=True, text=True, timeout=20, check=False)
    except (OSError, subprocess.TimeoutExpired):
        return ""
    lines = out.stdout.strip().splitlines()
    return lines[0].strip() if out.returncode == 0 and lines else ""


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.lower().startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown processor"


def machine_lines(build, contexts):
    cache = read_cmake_cache(build)
    compiler = cache.get("CMAKE_CXX_COMPILER", "c++")
    compiler_version = first_line_of([compiler, "--version"]) or compiler
    build_type = cache.get("CMAKE_BUILD_TYPE", "?")
    flags = " ".join(
        x
        for x in (cache.get("CMAKE_CXX_FLAGS", ""), cache.get("CMAKE_CXX_FLAGS_" + build_type.upper(), ""))
        if x.strip()
    )
    peers = []
    for name, module in (("muparser", "muparser"), ("GiNaC", "ginac"), ("Eigen", "eigen3")):
        version = first_line_of(["pkg-config", "--modversion", module])
        peers.append(f"{name} {version}" if version else name)
    context = contexts[0] if contexts else {}
    loads = [c.get("load_avg") for c in contexts if c.get("load_avg")]
    load_text = ""
    if loads:
        first, last = loads[0], loads[-1]
        load_text = " (load average %s at the start of the run, %s at its end)" % (
            "/".join("%.1f" % x for x in first),
            "/".join("%.1f" % x for x in last),
        )
    cores = context.get("num_cpus") or os.cpu_count()
    mhz = context.get("mhz_per_cpu")
    date = context.get("date") or datetime.datetime.now().isoformat(timespec="seconds")
    library = context.get("library_build_type")
    return [
        f"**Machine:** {cpu_model()}, {cores} cores"
        + (f" at {mhz} MHz" if mhz else "")
        + f", {platform.system()} {platform.release()}{load_text}.",
        f"**Compiler:** {compiler_version}; build type {build_type} ({flags or 'no extra flags'}).",
        f"**Peers:** {', '.join(peers)} (Debian packages). "
        + f"**Google Benchmark** library built as {library or 'unknown'}.",
        f"**Date:** {date}.",
    ]


def split_name(run_name):
    """(comparison, implementation, case) or None when the name has no such form."""
    parts = [p for p in run_name.split("/") if ":" not in p]
    if len(parts) < 3:
        return None
    return parts[0], parts[1], "/".join(parts[2:])


def pick_runs(benchmarks):
    """One entry per run name: the median of repetitions when there are several."""
    runs = {}
    order = []
    for b in benchmarks:
        name = b.get("run_name") or b.get("name")
        kind = b.get("run_type", "iteration")
        if kind == "aggregate":
            agg = b.get("aggregate_name")
            if agg not in ("median", "stddev"):
                continue
            entry = runs.setdefault(name, {})
            entry[agg] = b
        else:
            entry = runs.setdefault(name, {})
            entry.setdefault("iterations", []).append(b)
        if name not in order:
            order.append(name)
    picked = []
    for name in order:
        entry = runs[name]
        base = entry.get("median") or (entry.get("iterations") or [None])[0]
        if base is None:
            continue
        spread = None
        if "stddev" in entry and "median" in entry and entry["median"].get("cpu_time"):
            spread = entry["stddev"]["cpu_time"] / entry["median"]["cpu_time"]
        picked.append({"name": name, "run": base, "spread": spread})
    return picked


UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def seconds(run):
    return run["cpu_time"] * UNITS.get(run.get("time_unit", "ns"), 1e-9)


def format_time(s):
    for limit, unit, scale in ((1e-6, "ns", 1e9), (1e-3, "µs", 1e6), (1.0, "ms", 1e3)):
        if s < limit:
            return f"{s * scale:.3g} {unit}"
    return f"{s:.3g} s"


def format_si(v):
    if v == 0:
        return "0"
    for limit, suffix, scale in (
        (1e-6, "n", 1e9),
        (1e-3, "µ", 1e6),
        (1.0, "m", 1e3),
        (1e3, "", 1.0),
        (1e6, "k", 1e-3),
        (1e9, "M", 1e-6),
    ):
        if abs(v) < limit:
            return f"{v * scale:.3g}{suffix}"
    return f"{v * 1e-9:.3g}G"


STANDARD_FIELDS = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type", "repetitions",
    "repetition_index", "threads", "iterations", "real_time", "cpu_time", "time_unit",
    "aggregate_name", "aggregate_unit", "label", "error_occurred", "error_message",
}


def counters_text(run):
    extra = []
    for key, value in run.items():
        if key in STANDARD_FIELDS or not isinstance(value, (int, float)):
            continue
        # Inverted rates (per_point, ns_per_point) are seconds per item.
        if "per_point" in key:
            extra.append(f"{key} {format_time(value)}")
        else:
            extra.append(f"{key} {format_si(value)}")
    return ", ".join(extra)


def figure(entry):
    run = entry["run"]
    if run.get("error_occurred"):
        return "failed: " + run.get("error_message", "")
    text = format_time(seconds(run))
    if entry["spread"] is not None and entry["spread"] >= 0.005:
        text += f" ±{entry['spread'] * 100:.0f}%"
    return text


def leading_comment(path):
    lines = []
    try:
        with open(path, encoding="utf-8") as f:
            for line in f:
                s = line.strip()
                if not s.startswith("//"):
                    break
                lines.append(s[2:].strip())
    except OSError:
        pass
    return " ".join(x for x in lines if x)


def program_notes(source, program):
    folder = os.path.join(source, "bench", program)
    notes = []
    if os.path.isdir(folder):
        for name in sorted(os.listdir(folder)):
            if name.endswith(".cpp"):
                text = leading_comment(os.path.join(folder, name))
                if text:
                    notes.append(f"- `{name}`: {text}")
    return notes


def three_digits(x):
    """x with three significant digits, trailing zeros kept (1.00, 12.5, 346)."""
    if x >= 99.95:
        return f"{x:.0f}"
    if x >= 9.995:
        return f"{x:.1f}"
    if x >= 0.9995:
        return f"{x:.2f}"
    return f"{x:.3g}"


def verdict(ratio):
    if ratio >= 1:
        return f"Quillet {three_digits(ratio)}× faster"
    return f"Quillet {three_digits(1 / ratio)}× slower"


def report(source, build, results):
    contexts, programs = [], []
    for path in results:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        contexts.append(data.get("context", {}))
        program = os.path.basename(path)
        program = re.sub(r"\.json$", "", program)
        program = re.sub(r"^bench_", "", program)
        programs.append((program, pick_runs(data.get("benchmarks", []))))

    out = [
        "# Performance",
        "",
        "Generated by `make bench` (scripts/bench-report.py) from one run of every benchmark under",
        "`bench/`; do not edit by hand. Quillet and its peer are measured in the same program, one",
        "right after the other. Times are CPU time per call of the benchmarked operation, the median",
        "of the repetitions (± is their standard deviation, shown from 0.5%). The ratio is",
        "**peer time / Quillet time**: above 1 Quillet is faster, below 1 slower.",
        "The machine is shared: other jobs (fuzzers) may run on its cores during the run, so",
        "figures can move by tens of percent between runs; the ratios move less, since both sides",
        "of a pair run under the same load.",
        "",
    ]
    out += machine_lines(build, contexts)
    out.append("")

    pairs_all = []
    sections = []
    for program, runs in programs:
        ours, peers, alone = {}, {}, []
        for entry in runs:
            parsed = split_name(entry["name"])
            if parsed and parsed[1] == OURS:
                ours[(parsed[0], parsed[2])] = entry
            elif parsed:
                peers.setdefault((parsed[0], parsed[2]), []).append((parsed[1], entry))
        rows, orphans = [], []
        for entry in runs:
            parsed = split_name(entry["name"])
            key = (parsed[0], parsed[2]) if parsed else None
            if parsed and parsed[1] == OURS:
                matched = peers.get(key, [])
                if not matched:
                    alone.append(entry)
                for peer_name, peer in matched:
                    rows.append((key, entry, peer_name, peer))
            elif parsed and key not in ours:
                orphans.append(entry)
            elif not parsed:
                alone.append(entry)
        lines = [f"## {program}", ""]
        lines += program_notes(source, program)
        if lines[-1] != "":
            lines.append("")
        if rows:
            lines += [
                "| Comparison | Case | Quillet | Peer | Peer time | Peer / Quillet | |",
                "|---|---|---:|---|---:|---:|---|",
            ]
            for (comparison, case), entry, peer_name, peer in rows:
                ratio_text, verdict_text = "—", "no ratio (a run failed)"
                if not entry["run"].get("error_occurred") and not peer["run"].get("error_occurred"):
                    ratio = seconds(peer["run"]) / seconds(entry["run"])
                    ratio_text = three_digits(ratio)
                    verdict_text = verdict(ratio)
                    pairs_all.append((ratio, program, comparison, case, peer_name))
                lines.append(
                    f"| {comparison} | {case} | {figure(entry)} | {peer_name} | {figure(peer)} "
                    f"| {ratio_text} | {verdict_text} |"
                )
            lines.append("")
        if alone:
            lines += [
                "Quillet alone (no peer measures the same thing; the notes above say what to compare):",
                "",
                "| Benchmark | Time | Counters | Label |",
                "|---|---:|---|---|",
            ]
            for entry in alone:
                run = entry["run"]
                lines.append(
                    f"| {entry['name']} | {figure(entry)} | {counters_text(run)} | {run.get('label', '')} |"
                )
            lines.append("")
        if orphans:
            lines += ["Peer figures without a Quillet run of the same name:", ""]
            lines += [f"- {e['name']}: {figure(e)}" for e in orphans]
            lines.append("")
        sections.append(lines)

    if pairs_all:
        out += ["## Every ratio, slowest first", "", "| Program | Comparison | Case | Peer | Peer / Quillet | |",
                "|---|---|---|---|---:|---|"]
        for ratio, program, comparison, case, peer_name in sorted(pairs_all):
            out.append(
                f"| {program} | {comparison} | {case} | {peer_name} | {three_digits(ratio)} | {verdict(ratio)} |"
            )
        out.append("")
    for lines in sections:
        out += lines
    return "\n".join(out).rstrip() + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default=".", help="the source tree (for bench/<program>/)")
    parser.add_argument("--build", default="build-bench", help="the benchmark build folder")
    parser.add_argument("--out", default="docs/performance.md")
    parser.add_argument("results", nargs="+", help="JSON files of the benchmark programs")
    args = parser.parse_args()
    text = report(args.source, args.build, sorted(args.results))
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8") as f:
        f.write(text)
    print(f"bench-report: wrote {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
