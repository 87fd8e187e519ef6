#!/usr/bin/env bash
# Cross-builds build-win32/PeluxBar.dll and the Windows test programs with mingw-w64.
# Installs nothing: scripts/setup.sh --win32 does that.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S win32 -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/win32/toolchain-mingw64.cmake" >/dev/null
cmake --build build-win32 -j2
