#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest: once in a
# normal build, once more with AddressSanitizer and UndefinedBehaviorSanitizer (leaks too), and
# then fuzzes the map reader for a minute in a clang build, seeded with the shipped maps.
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

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLIRSK_FUZZ=ON \
    -DLIRSK_BUILD_GUI=OFF -DLIRSK_BUILD_TESTS=OFF -DLIRSK_FUZZ_SEEDS="$PWD/build/bin/toolbox/map"
cmake --build build-fuzz -j"$jobs" --target fuzz_mapfile
ctest --test-dir build-fuzz --output-on-failure
