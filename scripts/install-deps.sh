#!/usr/bin/env bash
# Installs the Debian packages a build step needs, and only those missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: base win bench plot)
set -euo pipefail

declare -A GROUP=(
  [base]="cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev"
  [win]="mingw-w64 wine wine64 wine32:i386 xvfb xauth"
  [bench]="libbenchmark-dev libmuparser-dev libeigen3-dev libginac-dev"
  [plot]="libcairo2-dev libjpeg62-turbo-dev fonts-dejavu-core"
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

want=()
for g in "$@"; do
  [ -n "${GROUP[$g]+x}" ] || { echo "install-deps: unknown group '$g'" >&2; exit 2; }
  for p in ${GROUP[$g]}; do want+=("$p"); done
done

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
for p in "${missing[@]}"; do
  if [[ "$p" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
done
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
