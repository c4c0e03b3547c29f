#!/usr/bin/env bash
# Checks the release packages make release wrote into dist/: layout, checksums,
# plug-in list entries and versions (scripts/check-release.py), then installs
# each zip into a folder laid out like Notepad++'s (plugins\Quillet\) and runs
# the Windows editor host from there under Wine.
# Usage: scripts/check-release.sh   (after make release; RELEASE_URL as given to it)
set -euo pipefail
cd "$(dirname "$0")/.."

# The editor host's windows are real windows: a virtual screen.
if [ -z "${QUILLET_ON_XVFB:-}" ] && command -v xvfb-run >/dev/null; then
  export QUILLET_ON_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

status=0
python3 scripts/check-release.py --dist dist --url "${RELEASE_URL:-}" || status=1
. scripts/wine-env.sh

version=$(tr -d '[:space:]' <build/version.txt)
mkdir -p build/release-check
rm -f build/release-check/skipped
for arch in x86 x64; do
  build=build-win32
  wine_cmd=(wine)
  limit=600
  if [ "$arch" = x64 ]; then
    build=build-win64
    wine_cmd=("${WINE64[@]}")
  elif ! i386="$(scripts/i386-emulation.sh status)"; then
    echo "SKIP: the x86 package in the editor host: ${i386#none: }" | tee build/release-check/skipped
    continue
  elif [ "$i386" = emulated ]; then
    limit=1800
    # The editor host stays on one thread under qemu (see npp_host.cpp).
    wine_cmd=(env QUILLET_HOST_ONE_THREAD=1 wine)
  fi
  zip="dist/Quillet-$version-$arch.zip"
  npp="build/release-check/$arch/npp"
  echo "== $arch: $zip unpacked into $npp/plugins/Quillet, the editor host run from $npp"
  rm -rf "build/release-check/$arch"
  mkdir -p "$npp/plugins/Quillet"
  # Plugins Admin unpacks the zip into the plug-in's own folder.
  if ! python3 -m zipfile -e "$zip" "$npp/plugins/Quillet/"; then
    echo "FAIL: $zip could not be unpacked"; status=1; continue
  fi
  cp "$build/npp_host.exe" "$npp/"
  if (cd "$npp" && timeout $limit "${wine_cmd[@]}" npp_host.exe --release >../npp_host.txt 2>../npp_host.err); then
    echo "ok: $arch package loads and runs in the editor host ($(grep -c '^ok' "build/release-check/$arch/npp_host.txt") checks)"
  else
    echo "FAIL: the $arch package in the editor host:"
    grep -E '^FAIL' "build/release-check/$arch/npp_host.txt" || tail -n 20 "build/release-check/$arch/npp_host.txt" "build/release-check/$arch/npp_host.err"
    status=1
  fi
done
exit $status
