#!/usr/bin/env bash
# Everything `make test` checks, phase by phase: the build (native, win32,
# win64, installing what is missing), the native
# suites, the Windows programs under Wine (32-bit, then x64), the release
# packages (made, unpacked and run in the editor host), the suites under
# AddressSanitizer and UBSan, the golden scripts under valgrind, and the fuzz
# regression corpus with a short fuzzing smoke. Every phase runs even when an
# earlier one failed; the closing lines give each phase's result and duration.
set -uo pipefail
cd "$(dirname "$0")/.."

MAKE=${MAKE:-make}
JOBS=${JOBS:-$(nproc)}
names=()
results=()
times=()

phase() {
  local name=$1
  shift
  echo
  echo "=== phase: $name"
  local start=$SECONDS rc=0
  "$@" || rc=$?
  local result=passed
  if [ "$rc" -ne 0 ]; then
    result=failed
  elif [ "$name" = "wine win32" ] && [ -f build/wine-results/win32/skipped ]; then
    result="skipped ($(sed 's/^SKIP: the win32 Wine suites: //' build/wine-results/win32/skipped))"
  elif [ "$name" = "release" ] && [ -f build/release-check/skipped ]; then
    result="passed, x86 host run skipped ($(sed 's/^SKIP: [^:]*: //' build/release-check/skipped))"
  fi
  names+=("$name")
  results+=("$result")
  times+=($((SECONDS - start)))
}

phase "build" "$MAKE" --no-print-directory build
if [ "${results[0]}" != passed ]; then echo "make test: the build failed"; exit 1; fi
phase "native" ctest --test-dir build --output-on-failure -j "$JOBS"
phase "wine win32" scripts/run-wine-tests.sh win32
phase "wine win64" scripts/run-wine-tests.sh win64
phase "release" bash -c "'$MAKE' --no-print-directory release && scripts/check-release.sh"
phase "asan+ubsan" "$MAKE" --no-print-directory test-asan
phase "valgrind" "$MAKE" --no-print-directory test-valgrind
phase "fuzz smoke" "$MAKE" --no-print-directory fuzz FUZZ_SECONDS=10

echo
echo "=== make test: phases"
passed=0 failed=0 skipped=0
for i in "${!names[@]}"; do
  printf '  %-12s %-8s %4d s\n' "${names[$i]}" "${results[$i]}" "${times[$i]}"
  case "${results[$i]}" in
    passed*) passed=$((passed + 1)) ;;
    failed) failed=$((failed + 1)) ;;
    *) skipped=$((skipped + 1)) ;;
  esac
done
echo "phases: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
