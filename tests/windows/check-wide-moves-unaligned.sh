#!/usr/bin/env bash
# Windows gives a 16-byte aligned stack, on which GCC may place 32- and 64-byte vectors without
# realigning: a DLL must move YMM and ZMM registers with unaligned instructions only, or a spill
# faults on a misaligned stack.
#   check-wide-moves-unaligned.sh OBJDUMP FILE
set -euo pipefail
aligned="$("$1" -d "$2" | grep -E '\svmov(aps|apd|dqa|dqa32|dqa64)\s' | grep -E '%[yz]mm' | grep -F '(' || true)"
wide="$("$1" -d "$2" | grep -cE '%[yz]mm' || true)"
echo "instructions on YMM/ZMM registers: $wide"
if [ -n "$aligned" ]; then
  echo "aligned moves of YMM/ZMM registers to or from memory:" >&2
  head -5 <<<"$aligned" >&2
  exit 1
fi
test "$wide" -gt 0
