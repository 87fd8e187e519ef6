#!/usr/bin/env bash
# Builds PeluxBar. `scripts/build.sh` makes the Release build in build/;
# `scripts/build.sh --sanitize` makes the AddressSanitizer+UBSan build in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build; flags=(-DCMAKE_BUILD_TYPE=Release)
if [[ "${1:-}" == "--sanitize" ]]; then
  dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DPELUX_SANITIZE=ON -DPELUX_BENCH=OFF)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
