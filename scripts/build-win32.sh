#!/usr/bin/env bash
# Cross-builds build-win32/PeluxBar.dll and the Windows test programs with mingw-w64.
# Installs nothing: scripts/setup.sh --win32 does that.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S win32 -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/win32/toolchain-mingw64.cmake" >/dev/null
cmake --build build-win32 -j2
