#!/usr/bin/env bash
# Sets up the machine, builds Velmora, installs velmora.vst3 into ~/.vst3 and renders the built-in
# demo through the installed module.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
cmake --build build --target install_vst3
mkdir -p out
./build/tools/host/velmora-host render "$HOME/.vst3/velmora.vst3" --out out/velmora-demo.wav \
  --set Gain=12 --set Threshold=-6 --set "Mod A=40"
