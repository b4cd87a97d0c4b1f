#!/usr/bin/env bash
# Makes the release packages from the Release builds into out/packages/:
# velmora_<version>_amd64.deb (Debian) and velmora-<version>-windows-x64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build-release.sh
mkdir -p out/packages
(cd build-release && cpack -G DEB -B "$PWD/../out/packages" >/dev/null)
(cd build-release-windows && cpack -G ZIP -B "$PWD/../out/packages" >/dev/null)
rm -rf out/packages/_CPack_Packages
ls out/packages/*.deb out/packages/*.zip
