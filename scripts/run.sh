#!/usr/bin/env bash
# Sets up the machine, builds Velmora, installs velmora.vst3 into ~/.vst3 and velmora.clap into
# ~/.clap, renders the built-in demo through each installed module and says where the files are.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# Release: the fastest settings (-O3) for the modules that get installed.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
  -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)"
cmake --build build-release --target install_vst3
cmake --build build-release --target install_clap
mkdir -p out
./build-release/tools/host/velmora-host render "$HOME/.vst3/velmora.vst3" --out out/velmora-demo.wav \
  --set Gain=12 --set Threshold=-6 --set "Mod A=40"
./build-release/tools/host/velmora-host render "$HOME/.clap/velmora.clap" --out out/velmora-demo-clap.wav \
  --set Gain=12 --set Threshold=-6 --set "Mod A=40"
echo "VST3 module:        $HOME/.vst3/velmora.vst3"
echo "CLAP module:        $HOME/.clap/velmora.clap"
echo "Demo through VST3:  $PWD/out/velmora-demo.wav"
echo "Demo through CLAP:  $PWD/out/velmora-demo-clap.wav"
