#!/usr/bin/env bash
# Sets up the machine, builds Velmora (Linux and the cross-built Windows modules) and its release
# packages into out/packages/, installs velmora.vst3 into ~/.vst3 and velmora.clap into ~/.clap,
# renders the built-in demo through each installed module, renders it under Wine through each
# Windows module in out/windows/, draws the editor as they draw it (out/windows/editor.png) and
# shows it in velmora-host.exe's window on a private X server (out/windows/editor-host.png), and
# says where the files are.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/package.sh
cmake --build build-release --target install_vst3
cmake --build build-release --target install_clap
mkdir -p out
./build-release/tools/host/velmora-host render "$HOME/.vst3/velmora.vst3" --out out/velmora-demo.wav \
  --set Gain=12 --set Threshold=-6 --set "Mod A=40"
./build-release/tools/host/velmora-host render "$HOME/.clap/velmora.clap" --out out/velmora-demo-clap.wav \
  --set Gain=12 --set Threshold=-6 --set "Mod A=40"

# The Windows DLLs and the Windows host to try them.
rm -rf out/windows
mkdir -p out/windows
cp -r build-release-windows/velmora.vst3 out/windows/
cp build-release-windows/velmora.clap build-release-windows/tools/host/velmora-host.exe out/windows/
export WINEPREFIX="$PWD/build-release-windows/wineprefix"
bash scripts/wine-prefix.sh "$WINEPREFIX"
for module in velmora.vst3 velmora.clap; do
  scripts/wine-run.sh out/windows/velmora-host.exe render "out/windows/$module" \
    --out "out/windows/velmora-demo-${module#velmora.}.wav" \
    --set Gain=12 --set Threshold=-6 --set "Mod A=40"
done
# The editor as the Windows DLLs draw it (GDI+), with the settings of the README's picture.
scripts/wine-run.sh build-release-windows/tools/velmora-editor-snapshot.exe --set Gain=4 \
  --set "Mod A=60" --set "Mod B=40" --set Mix=80 --set Knee=3 --demo 3.04 out/windows/editor.png
# The VST3 DLL's editor in the Windows host's own window, the demo playing through it, on Xvfb.
# Wine's desktop process keeps the display of the program that started it: the headless runs
# above end first.
wineserver --wait
scripts/wine-run-display.sh out/windows/velmora-host.exe editor out/windows/velmora.vst3 \
  --set Gain=4 --set "Mod A=60" --set "Mod B=40" --set Mix=80 --set Knee=3 \
  --screenshot out/windows/editor-host.png --after 3

echo "VST3 module:        $HOME/.vst3/velmora.vst3"
echo "CLAP module:        $HOME/.clap/velmora.clap"
echo "Demo through VST3:  $PWD/out/velmora-demo.wav"
echo "Demo through CLAP:  $PWD/out/velmora-demo-clap.wav"
echo "Windows modules:    $PWD/out/windows/velmora.vst3, $PWD/out/windows/velmora.clap"
echo "Demo through them:  $PWD/out/windows/velmora-demo-vst3.wav, $PWD/out/windows/velmora-demo-clap.wav"
echo "Windows editor:     $PWD/out/windows/editor.png, in velmora-host.exe: $PWD/out/windows/editor-host.png"
echo "Packages:           $(ls "$PWD"/out/packages/*.deb "$PWD"/out/packages/*.zip | tr '\n' ' ')"
