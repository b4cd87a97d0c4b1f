#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test.
#   scripts/test.sh            release build with warnings as errors, then the Windows modules
#                              cross-built with mingw-w64 and their tests run under Wine, then the
#                              release packages made from Release builds and checked
#   scripts/test.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer build
#   scripts/test.sh tsan       ThreadSanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."

flavour="${1:-release}"
case "$flavour" in
  release) build_dir=build; options=() ;;
  asan) build_dir=build-asan; options=(-DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF) ;;
  tsan) build_dir=build-tsan; options=(-DVELMORA_TSAN=ON -DVELMORA_BUILD_BENCH=OFF) ;;
  *) echo "usage: scripts/test.sh [release|asan|tsan]" >&2; exit 2 ;;
esac

bash scripts/setup.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"

# The Windows build embeds the resources the Linux build generated and runs its programs under
# Wine, in a prefix made once under build-windows/.
if [ "$flavour" = release ]; then
  cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
    -DVELMORA_NATIVE_BUILD_DIR="$PWD/build" >/dev/null
  cmake --build build-windows -j "$(nproc)"
  ctest --test-dir build-windows --output-on-failure -j "$(nproc)"

  bash scripts/package.sh
  bash tests/packaging/check-packages.sh
fi
