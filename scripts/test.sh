#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest: once in a
# normal build, and once more with AddressSanitizer and UndefinedBehaviorSanitizer (leaks too).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DLIRSK_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
