#!/usr/bin/env bash
# Runs the Windows test host against the 32-bit and the x64 Quillet.dll under
# Wine, in a prefix of our own below build/, and compares what each DLL answers
# with what the native library answers to the same calls.
set -euo pipefail
cd "$(dirname "$0")/.."

# Plot windows are real windows: run on a virtual screen of known size (the
# tiling of plot windows depends on the desktop width; the native library's
# headless desktop is 1024 pixels wide too).
if [ -z "${QUILLET_ON_XVFB:-}" ] && command -v xvfb-run >/dev/null; then
  export QUILLET_ON_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

export WINEPREFIX="$PWD/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run-wine-tests: creating Wine prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi

out=build/wine-results
mkdir -p "$out"
build/zrt_probe build/libzerith.so src/plugin/quillet.def >"$out/native.txt"

status=0
# Notepad++ loads a plug-in only when it needs no runtime DLL beside it.
echo "== imports of both Quillet.dll"
scripts/check-dll-imports.sh build-win32/Quillet.dll build-win64/Quillet.dll || status=1

for arch in win32 win64; do
  echo "== $arch: zrt_probe.exe against build-$arch/Quillet.dll"
  mkdir -p "$out/$arch"
  cp build-$arch/Quillet.dll build-$arch/zrt_probe.exe "$out/$arch/"
  if ! (cd "$out/$arch" && timeout 600 wine zrt_probe.exe Quillet.dll \
          ../../../src/plugin/quillet.def >result.txt); then
    echo "FAIL: the $arch host reported failures:"; grep -E '^FAIL' "$out/$arch/result.txt" || tail -20 "$out/$arch/result.txt"
    status=1
  fi
  tr -d '\r' <"$out/$arch/result.txt" >"$out/$arch/result.clean"
  if ! diff -u "$out/native.txt" "$out/$arch/result.clean" >"$out/$arch/diff.txt"; then
    echo "FAIL: $arch answers differ from the native library:"; head -40 "$out/$arch/diff.txt"
    status=1
  else
    echo "ok: $arch agrees with the native library ($(grep -c . "$out/native.txt") lines)"
  fi

  # The editor host: a Notepad++ folder with the plug-in in plugins\Quillet\,
  # real windows on a virtual display; today's host, then an older one.
  for generation in today old; do
    echo "== $arch: npp_host.exe ($generation host) loads plugins\\Quillet\\Quillet.dll (Xvfb)"
    npp="$out/$arch/npp-$generation"
    log="$out/$arch/npp_host-$generation"
    rm -rf "$npp"
    mkdir -p "$npp/plugins/Quillet"
    cp build-$arch/Quillet.dll build-$arch/ShowCmds.zrt "$npp/plugins/Quillet/"
    cp build-$arch/npp_host.exe "$npp/"
    if [ "$generation" = old ]; then args=(--old); else args=(after-seltext.bmp); fi
    if (cd "$npp" && timeout 600 xvfb-run -a -s "-screen 0 1024x768x24" \
          wine npp_host.exe "${args[@]}" >"../npp_host-$generation.txt" 2>"../npp_host-$generation.err"); then
      echo "ok: $arch editor host scenarios, $generation host ($(grep -c '^ok' "$log.txt") checks)"
    else
      echo "FAIL: the $arch editor host ($generation) reported failures:"
      grep -E '^FAIL' "$log.txt" || tail -20 "$log.txt" "$log.err"
      status=1
    fi
    if [ -f "$npp/after-seltext.bmp" ]; then
      python3 scripts/bmp2png.py "$npp/after-seltext.bmp" "$out/$arch/after-seltext.png" || true
    fi
  done
done
exit $status
