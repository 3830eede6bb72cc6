#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, then the core and batch
# tests again built with clang, then under the address and undefined-behaviour
# sanitizers, then the core and batch mode built for Windows and run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

# The core and batch mode with the other compiler, so that code that only
# GCC accepts, or that works only as GCC compiles it, shows here.
scripts/setup.sh build-clang -DCMAKE_CXX_COMPILER=clang++ -DTALLIX_GUI=OFF -DTALLIX_BENCH=OFF
(cd build-clang && ctest --output-on-failure -j"$(nproc)")

scripts/setup.sh build-asan -DTALLIX_SANITIZE=ON -DTALLIX_GUI=OFF -DTALLIX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/../tests/lsan.supp" \
  ctest --output-on-failure -j"$(nproc)")

# Windows: one Wine server and prefix for the whole run (the first test
# starts Wine's background programs).
scripts/setup.sh build-win -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DTALLIX_LINUX_BUILD="$PWD/build"
export WINEPREFIX="$PWD/build-win/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p
trap '/usr/lib/wine/wineserver -k || true' EXIT
(cd build-win && ctest --output-on-failure -j"$(nproc)")
