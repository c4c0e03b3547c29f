#!/usr/bin/env bash
# Installs the Debian packages a build step needs, and only those missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: base win bench plot fuzz check)
# The win group also makes sure this machine can run 32-bit Windows programs
# (scripts/i386-emulation.sh).
set -euo pipefail

declare -A GROUP=(
  [base]="cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libeigen3-dev libedit-dev python3"
  [win]="mingw-w64 wine wine64 wine32:i386 xvfb xauth dpkg-dev"
  [fuzz]="clang libclang-rt-14-dev python3"
  [check]="valgrind"
  [bench]="libbenchmark-dev libmuparser-dev libeigen3-dev libginac-dev python3"
  [plot]="libcairo2-dev libjpeg62-turbo-dev fonts-dejavu-core"
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The Windows DLLs link libjpeg-turbo built from Debian's source package
# (scripts/build-libjpeg.sh), so the win group needs a deb-src entry. Added in
# a file of its own, in the deb822 format, only when the machine has none.
enable_deb_src() {
  if grep -rqsE '^[[:space:]]*(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  local codename
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  [ -n "$codename" ] || { echo "install-deps: cannot tell the Debian release" >&2; return 1; }
  echo "install-deps: adding deb-src entries for $codename"
  $SUDO tee /etc/apt/sources.list.d/quillet-deb-src.sources >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  $SUDO apt-get update -q
}

want=()
for g in "$@"; do
  [ -n "${GROUP[$g]+x}" ] || { echo "install-deps: unknown group '$g'" >&2; exit 2; }
  for p in ${GROUP[$g]}; do want+=("$p"); done
done

for g in "$@"; do
  if [ "$g" = win ]; then enable_deb_src; fi
done

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Wine runs 32-bit Windows programs through its i386 loader; on a kernel that
# runs no i386 Linux program that needs qemu's emulation (set up once).
after_install() {
  for g in "$@"; do
    if [ "$g" = win ]; then "$(dirname "$0")/i386-emulation.sh" setup || true; fi
  done
}

if [ ${#missing[@]} -eq 0 ]; then after_install "$@"; exit 0; fi

echo "install-deps: installing ${missing[*]}"
for p in "${missing[@]}"; do
  if [[ "$p" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
done
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
after_install "$@"
