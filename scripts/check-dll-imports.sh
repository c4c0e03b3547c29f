#!/usr/bin/env bash
# Checks that each Windows DLL imports from Windows system DLLs only. Notepad++
# refuses, with a blocking dialog, a plug-in that needs a runtime DLL it cannot
# find (libgcc_s, libstdc++, libwinpthread, libjpeg, ...): everything else must
# be linked in statically.
# Usage: scripts/check-dll-imports.sh [DLL...]   (default: both Quillet.dll)
set -euo pipefail
cd "$(dirname "$0")/.."

# DLLs every Windows since 7 has (compared without regard to case).
system_dll() {
  case "${1,,}" in
    kernel32.dll | user32.dll | gdi32.dll | comdlg32.dll | shell32.dll | advapi32.dll | \
      msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll | version.dll | ole32.dll | oleaut32.dll | \
      comctl32.dll | shlwapi.dll | winmm.dll | ws2_32.dll | ntdll.dll | bcrypt.dll | \
      gdiplus.dll | uxtheme.dll | imm32.dll | msimg32.dll)
      return 0 ;;
  esac
  return 1
}

objdump_tool=""
for tool in x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump objdump; do
  if command -v "$tool" >/dev/null; then objdump_tool="$tool"; break; fi
done
[ -n "$objdump_tool" ] || { echo "check-dll-imports: no objdump found (install mingw-w64)" >&2; exit 1; }

[ $# -gt 0 ] || set -- build-win32/Quillet.dll build-win64/Quillet.dll
status=0
for dll in "$@"; do
  if [ ! -f "$dll" ]; then
    echo "FAIL: $dll does not exist" >&2
    status=1
    continue
  fi
  if ! imports="$("$objdump_tool" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r')" ||
     [ -z "$imports" ]; then
    echo "FAIL: $objdump_tool cannot read the imports of $dll" >&2
    status=1
    continue
  fi
  bad=""
  while IFS= read -r name; do
    system_dll "$name" || bad+=" $name"
  done <<<"$imports"
  if [ -n "$bad" ]; then
    echo "FAIL: $dll imports DLLs that are not part of Windows:$bad" >&2
    echo "      (link them statically; Notepad++ will not load this plug-in)" >&2
    status=1
  else
    echo "ok: $dll imports only Windows system DLLs (${imports//$'\n'/ })"
  fi
done
exit $status
