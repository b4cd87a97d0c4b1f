#!/usr/bin/env bash
# Builds the Release modules and tools that get installed, rendered with and packaged: Linux in
# build-release/, the Windows DLLs (with the resources the Linux build generated) in
# build-release-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Release: the fastest settings (-O3) for the modules that get installed.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
  -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)"
cmake -S . -B build-release-windows -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
  -DVELMORA_NATIVE_BUILD_DIR="$PWD/build-release" >/dev/null
cmake --build build-release-windows -j "$(nproc)"
