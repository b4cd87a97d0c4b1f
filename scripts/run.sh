#!/usr/bin/env bash
# Sets up the machine, builds Velmora and renders the built-in demo through it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
mkdir -p out
./build/tools/velmora-render --out out/velmora-demo.wav --set Gain=12 --set Threshold=-6 --set "Mod A=40"
