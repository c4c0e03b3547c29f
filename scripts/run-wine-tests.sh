#!/usr/bin/env bash
# Runs the Windows test programs against the 32-bit and the x64 Quillet.dll
# under Wine, in a prefix of our own below build/, and compares what each DLL
# answers with what the native library answers to the same calls.
#
#   scripts/run-wine-tests.sh [win32] [win64]      (both when none is named)
#
# A 32-bit run needs i386 programs (Wine's 32-bit loader); where the machine
# runs none and no emulation could be set up, the win32 runs are skipped with
# the reason in build/wine-results/win32/skipped, never counted as passed.
set -euo pipefail
cd "$(dirname "$0")/.."

arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(win32 win64)

# Plot windows are real windows: run on a virtual screen of known size (the
# tiling of plot windows depends on the desktop width; the native library's
# headless desktop is 1024 pixels wide too).
if [ -z "${QUILLET_ON_XVFB:-}" ] && command -v xvfb-run >/dev/null; then
  export QUILLET_ON_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${arches[@]}"
fi

. scripts/wine-env.sh

out=build/wine-results
mkdir -p "$out"
build/zrt_probe build/libzerith.so src/plugin/quillet.def >"$out/native.txt"

# A test program that dies inside Wine (emulated Wine does now and then) ends
# without its summary line; emulated Wine can also hang, every thread of the
# program waiting on the Wine server, its own watchdog included, so that it
# writes nothing more. Such a run (died, or silent for STALL seconds) is tried
# again, up to TRIES times, and each try is reported. A run that printed its
# summary is judged by what it printed, whatever its exit code; a run that
# reached its time limit while still writing is not tried again.
TRIES=${QUILLET_WINE_TRIES:-3}
STALL=${QUILLET_WINE_STALL:-240}

# watched_run OUTFILE COMMAND...: runs COMMAND with stdout to OUTFILE and
# stderr to OUTFILE.err; ends it when both stay unchanged for STALL seconds
# (status 125), else returns its status.
watched_run() {
  local outfile=$1 dir=$2
  shift 2
  (cd "$dir" && exec "$@") >"$outfile" 2>"$outfile.err" &
  local pid=$! size last quiet=0
  last=-1
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    size=$(($(stat -c %s "$outfile") + $(stat -c %s "$outfile.err")))
    if [ "$size" -ne "$last" ]; then last=$size quiet=0; else quiet=$((quiet + 5)); fi
    if [ "$quiet" -ge "$STALL" ]; then
      kill -TERM "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      return 125
    fi
  done
  wait "$pid"
}

# run_program LABEL OUTFILE SUMMARY_REGEX DIR COMMAND...
run_program() {
  local label=$1 outfile=$2 summary=$3 dir=$4
  shift 4
  local try rc
  for ((try = 1; try <= TRIES; try++)); do
    rc=0
    watched_run "$outfile" "$dir" "$@" || rc=$?
    if grep -qaE "$summary" "$outfile"; then
      if [ "$rc" -ne 0 ]; then
        echo "note: $label exited with status $rc after its summary line"
      fi
      return 0
    fi
    if [ "$rc" -eq 124 ]; then echo "FAIL: $label timed out"; return 1; fi
    if [ "$rc" -eq 125 ]; then
      echo "note: $label hung inside Wine (silent for ${STALL} s after $(grep -c . "$outfile") lines), try $try of $TRIES"
    else
      echo "note: $label died inside Wine before its summary (exit $rc), try $try of $TRIES"
    fi
    tail -n 3 "$outfile.err" | sed 's/^/  | /'
  done
  echo "FAIL: $label died or hung on every one of $TRIES tries"
  return 1
}

status=0
for arch in "${arches[@]}"; do
  slow=1
  unset QUILLET_HOST_ONE_THREAD
  mkdir -p "$out/$arch"
  rm -f "$out/$arch/skipped"
  # Notepad++ loads a plug-in only when it needs no runtime DLL beside it.
  echo "== imports of build-$arch/Quillet.dll"
  scripts/check-dll-imports.sh build-$arch/Quillet.dll || status=1

  if [ "$arch" = win32 ]; then
    if ! i386="$(scripts/i386-emulation.sh status)"; then
      echo "SKIP: the win32 Wine suites: ${i386#none: }" | tee "$out/$arch/skipped"
      continue
    fi
    wine_cmd=("${WINE32[@]}")
    if [ "$i386" = emulated ]; then
      echo "(32-bit programs run under qemu's i386 emulation: time limits tripled, the editor host on one thread)"
      slow=3
      # qemu keeps one descriptor for every thread's TEB: see npp_host.cpp.
      export QUILLET_HOST_ONE_THREAD=1
    fi
  else
    wine_cmd=("${WINE64[@]}")
  fi

  echo "== $arch: zrt_probe.exe against build-$arch/Quillet.dll"
  cp build-$arch/Quillet.dll build-$arch/zrt_probe.exe "$out/$arch/"
  if run_program "$arch zrt_probe.exe" "$out/$arch/result.txt" '^probe summary: ' "$out/$arch" \
      timeout $((900 * slow)) "${wine_cmd[@]}" zrt_probe.exe Quillet.dll ../../../src/plugin/quillet.def; then
    tr -d '\r' <"$out/$arch/result.txt" >"$out/$arch/result.clean"
    if grep -qE '^FAIL' "$out/$arch/result.clean"; then
      echo "FAIL: the $arch probe reported failures:"; grep -E '^FAIL' "$out/$arch/result.clean" | head -40
      status=1
    fi
    if ! diff -u "$out/native.txt" "$out/$arch/result.clean" >"$out/$arch/diff.txt"; then
      echo "FAIL: $arch answers differ from the native library:"; head -40 "$out/$arch/diff.txt"
      status=1
    else
      echo "ok: $arch agrees with the native library ($(grep -c . "$out/native.txt") lines)"
    fi
  else
    tail -n 20 "$out/$arch/result.txt" "$out/$arch/result.txt.err"
    status=1
  fi

  # The editor host: a Notepad++ folder with the plug-in in plugins\Quillet\,
  # real windows on a virtual display; today's host, then an older one.
  for generation in today old; do
    echo "== $arch: npp_host.exe ($generation host) loads plugins\\Quillet\\Quillet.dll (Xvfb)"
    npp="$out/$arch/npp-$generation"
    log="$out/$arch/npp_host-$generation.txt"
    rm -rf "$npp"
    mkdir -p "$npp/plugins/Quillet"
    cp build-$arch/Quillet.dll build-$arch/ShowCmds.zrt "$npp/plugins/Quillet/"
    cp build-$arch/npp_host.exe "$npp/"
    if [ "$generation" = old ]; then args=(--old); else args=(after-seltext.bmp); fi
    if run_program "$arch editor host ($generation)" "$log" '^(all host scenarios passed|FAILURES: )' "$npp" \
        timeout $((600 * slow)) "${wine_cmd[@]}" npp_host.exe "${args[@]}" &&
        grep -qa '^all host scenarios passed' "$log"; then
      echo "ok: $arch editor host scenarios, $generation host ($(grep -c '^ok' "$log") checks)"
    else
      echo "FAIL: the $arch editor host ($generation) reported failures:"
      grep -aE '^FAIL' "$log" || tail -n 20 "$log" "$log.err"
      status=1
    fi
    if [ -f "$npp/after-seltext.bmp" ]; then
      python3 scripts/bmp2png.py "$npp/after-seltext.bmp" "$out/$arch/after-seltext.png" || true
    fi
  done
done
exit $status
