#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, then the core and batch
# tests again under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

scripts/setup.sh build-asan -DTALLIX_SANITIZE=ON -DTALLIX_GUI=OFF -DTALLIX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/../tests/lsan.supp" \
  ctest --output-on-failure -j"$(nproc)")
