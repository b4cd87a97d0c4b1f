#!/usr/bin/env bash
# Renders the demo through the Linux modules and, under Wine, through the Windows DLLs, with 64-bit
# processing and 64-bit samples in the files, and compares each format's two renders: within
# 1e-12 from the demo generator (whose C library sine differs in the last bits between the two
# platforms, as does the resampler's filter design), and bit for bit on the plain path when both
# read the same input file.
#   compare-demo-renders.sh LINUX_HOST LINUX_VST3 LINUX_CLAP WINDOWS_HOST WINDOWS_VST3 WINDOWS_CLAP
#                           COMPARE_EXE OUT_DIR
set -euo pipefail
linux_host="$1"; linux_vst3="$2"; linux_clap="$3"
windows_host="$4"; windows_vst3="$5"; windows_clap="$6"
compare="$7"; out="$8"
wine_run="$(dirname "$0")/../../scripts/wine-run.sh"
mkdir -p "$out"

# The main job's demo settings, and every stage of the curve on the oversampled path.
settings_demo=(--set Gain=12 --set Threshold=-6 --set "Mod A=40")
settings_all=(--set Gain=9 --set Threshold=-9 --set "T Assym=4" --set Nonlinearity=1.08
  --set "N Assym=0.02" --set Knee=4 --set "K Assym=-2" --set "Mod A=35" --set "Mod B=45"
  --set Mix=80 --set Output=-3 --set Oversampling=on --offline)

status=0
for case in demo all; do
  declare -n settings="settings_$case"
  for format in vst3 clap; do
    declare -n linux_module="linux_$format" windows_module="windows_$format"
    "$linux_host" render "$linux_module" --out "$out/linux-$case.$format.wav" --out-bits 64 \
      "${settings[@]}" >/dev/null
    "$wine_run" "$windows_host" render "$windows_module" --out "$out/windows-$case.$format.wav" \
      --out-bits 64 "${settings[@]}" >/dev/null
    echo -n "$case settings, $format: "
    "$wine_run" "$compare" "$out/linux-$case.$format.wav" "$out/windows-$case.$format.wav" 1e-12 ||
      status=1
  done
done
for format in vst3 clap; do
  declare -n linux_module="linux_$format" windows_module="windows_$format"
  input="$out/linux-demo.vst3.wav"
  "$linux_host" render "$linux_module" --in "$input" --out "$out/linux-input.$format.wav" \
    --out-bits 64 "${settings_demo[@]}" >/dev/null
  "$wine_run" "$windows_host" render "$windows_module" --in "$input" \
    --out "$out/windows-input.$format.wav" --out-bits 64 "${settings_demo[@]}" >/dev/null
  echo -n "demo settings on one input file, $format: "
  "$wine_run" "$compare" "$out/linux-input.$format.wav" "$out/windows-input.$format.wav" 0 ||
    status=1
done
exit $status
