#!/usr/bin/env bash
# Runs one golden script through the command line tool and compares what it
# prints with NAME.out. Extra parameters come from NAME.args when present.
# Usage: run_golden.sh QUILLET NAME.zrt   (UPDATE=1 rewrites NAME.out)
# ZRT_WRAPPER runs the tool under a checker (valgrind); its exit code 97
# reports what the checker found.
set -euo pipefail
quillet=$1
script=$2
dir=$(dirname "$script")
name=$(basename "$script" .zrt)
args=""
[ -f "$dir/$name.args" ] && args=$(cat "$dir/$name.args")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$dir"/*.txt "$work"/ 2>/dev/null || true
cp "$script" "$work/$name.zrt"
# shellcheck disable=SC2086
rc=0
(cd "$work" && ${ZRT_WRAPPER:-} "$quillet" /noh $args /i "$name.zrt" >"$work/actual.out" 2>"$work/stderr.txt") || rc=$?
if [ "$rc" = 97 ]; then
  echo "golden script $name: the checker found faults"
  cat "$work/stderr.txt"
  exit 1
fi
# Names of the temporary folder read the same in every run.
sed -i "s#$work#<dir>#g" "$work/actual.out"
if [ "${UPDATE:-0}" = 1 ]; then
  cp "$work/actual.out" "$dir/$name.out"
  exit 0
fi
# The tool prints lines ended by LF; NAME.out may keep the CR LF of the files.
tr -d '\r' <"$dir/$name.out" >"$work/expected.out"
if ! cmp -s "$work/expected.out" "$work/actual.out"; then
  echo "golden script $name: output differs (- expected, + actual)"
  diff -u "$work/expected.out" "$work/actual.out" || true
  cmp "$work/expected.out" "$work/actual.out" || true
  exit 1
fi
