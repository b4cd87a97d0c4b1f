#!/usr/bin/env bash
# Installs every Debian package the project needs; does nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake ccache pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libx11-dev libxext-dev libxtst-dev libxdamage-dev xvfb xauth x11-xserver-utils
  fonts-roboto-unhinted libsndfile1-dev
  juce-modules-source-data dpf-source
  clang-format locales
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
  dpkg-dev lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
