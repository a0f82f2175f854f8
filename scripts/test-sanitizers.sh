#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (Debug), and runs every test there with leak
# detection on. Needs no display. Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSIVO_SANITIZE=ON >/dev/null
cmake --build build-asan -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cd build-asan
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1"
ctest --output-on-failure -j"${CTEST_PARALLEL_LEVEL:-$(nproc)}" "$@"
