#!/usr/bin/env bash
# Sets up, builds and starts the calculator. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
exec build/tallix "$@"
