#!/usr/bin/env bash
# Wine runs 32-bit Windows programs only through its i386 loader, a 32-bit
# Linux program. Some kernels run no i386 program at all; there qemu's user
# emulation, registered with binfmt_misc, runs them instead.
#
#   i386-emulation.sh setup    make i386 programs run, natively or emulated
#                              (once; prints one line when it sets up the emulation)
#   i386-emulation.sh status   prints "native", "emulated" or "none: REASON";
#                              exits 0 when i386 programs run
#
# QUILLET_I386=emulate registers the emulation even where the kernel runs i386
# programs itself (binfmt_misc comes before the kernel's own loader), to try
# that path; QUILLET_I386=native removes the registration again.
set -uo pipefail

LOADER=/lib/ld-linux.so.2
BINFMT=/proc/sys/fs/binfmt_misc
ENTRY=$BINFMT/qemu-i386
QEMU=/usr/bin/qemu-i386-static
# i386 ELF executables and shared objects (e_machine 3).
MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo -n"; fi

runs_i386() { [ -e "$LOADER" ] && "$LOADER" --version >/dev/null 2>&1; }
registered() { [ -f "$ENTRY" ] && [ "$(head -n 1 "$ENTRY")" = enabled ]; }

status() {
  if ! [ -e "$LOADER" ]; then echo "none: no i386 loader ($LOADER; wine32 not installed)"; return 1; fi
  if runs_i386; then
    if registered; then echo emulated; else echo native; fi
    return 0
  fi
  if [ "$(id -u)" -ne 0 ] && ! sudo -n true 2>/dev/null; then
    echo "none: this kernel runs no i386 program, and setting up qemu's emulation needs root"
  elif ! [ -e "$BINFMT/register" ]; then
    echo "none: this kernel runs no i386 program, and binfmt_misc is not available"
  else
    echo "none: this kernel runs no i386 program, and qemu's i386 emulation did not start"
  fi
  return 1
}

register() {
  if ! [ -x "$QEMU" ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends \
      qemu-user-static >/dev/null || return 1
  fi
  if ! [ -e "$BINFMT/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$BINFMT" 2>/dev/null || return 1
  fi
  # An entry of the same name that does not run (left disabled, or another
  # emulator's) is replaced.
  if [ -f "$ENTRY" ]; then echo -1 | $SUDO tee "$ENTRY" >/dev/null || return 1; fi
  # F: the kernel opens the emulator now, so it is found inside any root.
  printf ':qemu-i386:M::%s:%s:%s:POCF' "$MAGIC" "$MASK" "$QEMU" |
    $SUDO tee "$BINFMT/register" >/dev/null || return 1
}

setup() {
  local before
  before="$(status 2>/dev/null)"
  case "${QUILLET_I386:-auto}" in
    native)
      if registered; then echo -1 | $SUDO tee "$ENTRY" >/dev/null; fi
      ;;
    emulate)
      if ! registered; then register || true; fi
      ;;
    *)
      if ! runs_i386 && [ -e "$LOADER" ]; then register || true; fi
      ;;
  esac
  local now
  now="$(status)" || { echo "i386-emulation: 32-bit Windows programs cannot run here (${now#none: })" >&2; return 1; }
  if [ "$now" = emulated ] && [ "$before" != emulated ]; then
    echo "i386-emulation: 32-bit Windows programs will run under qemu's i386 emulation"
  fi
}

case "${1:-status}" in
  setup) setup ;;
  status) status ;;
  *) echo "usage: $0 setup|status" >&2; exit 2 ;;
esac
