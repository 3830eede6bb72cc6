#!/usr/bin/env bash
# Sets up, builds and starts the calculator. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the program (the target brings its window program with it): the
# tests and benchmarks are built by scripts/test.sh, in the same folder.
scripts/setup.sh build --target tallix
exec build/tallix "$@"
