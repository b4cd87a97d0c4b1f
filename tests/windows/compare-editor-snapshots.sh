#!/usr/bin/env bash
# Draws the editor after the same demo playing with the Linux snapshot tool (cairo) and the
# Windows one (GDI+, under Wine) at 100, 150 and 200 %, and compares the pictures.
#   compare-editor-snapshots.sh LINUX_SNAPSHOT WINDOWS_SNAPSHOT COMPARE OUT_DIR
set -euo pipefail
linux_tool="$1"
windows_tool="$2"
compare="$3"
out="$4"
wine_run="$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-run.sh"
mkdir -p "$out"
settings=(--set Gain=4 --set "Mod A=60" --set "Mod B=40" --set Mix=80 --set Knee=3 --demo 3.04)
status=0
for scale in 1 1.5 2; do
  "$linux_tool" --scale "$scale" "${settings[@]}" --controls "$out/linux-$scale.txt" \
    "$out/linux-$scale.png" >/dev/null
  "$wine_run" "$windows_tool" --scale "$scale" "${settings[@]}" \
    --controls "$out/windows-$scale.txt" "$out/windows-$scale.png" >/dev/null
  "$wine_run" "$compare" "$scale" "$out/linux-$scale.png" "$out/linux-$scale.txt" \
    "$out/windows-$scale.png" "$out/windows-$scale.txt" || status=1
done
exit $status
