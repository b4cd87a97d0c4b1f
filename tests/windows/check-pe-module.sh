#!/usr/bin/env bash
# Checks a Windows binary as a host's loader sees it: it exports exactly the given names (none
# given: no check of exports) and imports no DLL of the mingw runtime, so it loads on a Windows
# without that runtime.
#   check-pe-module.sh OBJDUMP FILE [EXPORT...]
set -euo pipefail
objdump="$1"
file="$2"
shift 2
dump="$("$objdump" -p "$file")"

imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort)"
echo "imports: $(tr '\n' ' ' <<<"$imports")"
status=0
for runtime in libwinpthread-1.dll libstdc++-6.dll libgcc_s_seh-1.dll libgcc_s_dw2-1.dll; do
  if grep -qx "$runtime" <<<"$imports"; then
    echo "imports the mingw runtime DLL $runtime" >&2
    status=1
  fi
done
while read -r dll; do
  case "$dll" in
    kernel32.dll | msvcrt.dll | user32.dll | shell32.dll | ole32.dll | advapi32.dll | gdi32.dll) ;;
    gdiplus.dll) ;; # the editor's drawing, part of every Windows since XP
    api-ms-win-*.dll) ;;
    *) echo "imports $dll, which is not a Windows system DLL" >&2; status=1 ;;
  esac
done <<<"$imports"

if [ $# -gt 0 ]; then
  exports="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)"
  expected="$(printf '%s\n' "$@" | sort)"
  echo "exports: $(tr '\n' ' ' <<<"$exports")"
  if [ "$exports" != "$expected" ]; then
    echo "exports differ from: $(tr '\n' ' ' <<<"$expected")" >&2
    status=1
  fi
fi
exit $status
