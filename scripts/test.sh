#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build
ctest --output-on-failure -j"${CTEST_PARALLEL_LEVEL:-$(nproc)}" "$@"
