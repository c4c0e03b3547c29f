#!/usr/bin/env bash
# Builds the fuzz harnesses, replays the regression corpus (every input that
# once crashed, hung or leaked, and inputs at the library's limits: deep
# nesting, huge counts, every byte-order mark: fuzz/regressions/<harness>/,
# one file per input, named for what it tries), then fuzzes each
# harness for FUZZ_SECONDS seconds, JOBS harnesses at a time.
# Usage: scripts/fuzz.sh [HARNESS...]     (default: every fuzz/fuzz_*.cpp)
# A finding stops the run with the input under build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh fuzz
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
cmake --build build-fuzz -j "$jobs"

if [ $# -gt 0 ]; then harnesses=("$@"); else
  harnesses=(); for f in fuzz/fuzz_*.cpp; do harnesses+=("$(basename "$f" .cpp)"); done
fi

# A run may take long at the library's own bounds (ten million integration
# points, a million plot steps) under the sanitizers: a minute per input
# before it counts as a hang.
rm -rf build-fuzz/seeds && scripts/fuzz-seeds.py build-fuzz/seeds
mkdir -p build-fuzz/findings build-fuzz/logs
# fontconfig's caches live as long as the process: not leaks of ours.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1"
options=(-max_len=4096 -timeout=60 -rss_limit_mb=2048 -print_final_stats=1)

# The regression corpus first: each input runs once.
for h in "${harnesses[@]}"; do
  dir=$root/fuzz/regressions/$h
  if [ -d "$dir" ] && [ -n "$(ls -A "$dir")" ]; then
    echo "== replay $h ($(ls "$dir" | wc -l) inputs)"
    "build-fuzz/$h" "${options[@]}" "$dir"/* >"build-fuzz/logs/$h.replay.log" 2>&1 ||
      { tail -40 "build-fuzz/logs/$h.replay.log"; echo "fuzz: $h fails on its regression corpus"; exit 1; }
  fi
done

run_one() {
  local h=$1
  mkdir -p "$root/build-fuzz/corpus/$h"
  if "$root/build-fuzz/$h" "$root/build-fuzz/corpus/$h" "$root/build-fuzz/seeds/$h" \
       "${options[@]}" -max_total_time="$seconds" \
       -artifact_prefix="$root/build-fuzz/findings/$h-" >"$root/build-fuzz/logs/$h.log" 2>&1; then
    echo "== $h: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$root/build-fuzz/logs/$h.log")"
  else
    tail -60 "$root/build-fuzz/logs/$h.log"
    echo "fuzz: $h found a fault; the input is in build-fuzz/findings/"
    return 1
  fi
}
export -f run_one
export root seconds
export options_text="${options[*]}"
printf '%s\n' "${harnesses[@]}" |
  xargs -P "$jobs" -I{} bash -c 'options=($options_text); run_one "$@"' _ {}
