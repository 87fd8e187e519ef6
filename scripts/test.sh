#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit suites in the Release and the sanitizer builds
# (over the bundled dictionaries and the full ones built from the Debian and npm sources),
# then the end-to-end browser tests when they exist, then PeluxBar.dll under Wine, then the fuzz
# targets: their regression corpus replayed and each fuzzed for a short while, then the Debian
# package installed, used and purged (as root with CI=true only).
set -euo pipefail
cd "$(dirname "$0")/.."
e2e=0; [[ -d tests/e2e ]] && ls tests/e2e/*.mjs >/dev/null 2>&1 && e2e=1
if ((e2e)); then scripts/setup.sh --dict --browser; else scripts/setup.sh --dict; fi
scripts/build.sh
scripts/build.sh --sanitize
echo "== full dictionaries"
build/peluxbar dict build --out build/dict
export PELUXBAR_FULL_DICT_DIR="$PWD/build/dict"
echo "== unit tests (Release)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
echo "== unit tests (AddressSanitizer + UBSan)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
if ((e2e)); then
  echo "== end-to-end tests (Chromium)"
  node --test tests/e2e/
  echo "== end-to-end tests (Firefox ESR)"
  PELUXBAR_E2E_BROWSER=firefox node --test tests/e2e/
fi
echo "== Windows component (mingw-w64 build, Wine)"
scripts/setup.sh --win32 && scripts/build-win32.sh && scripts/test-win32.sh
echo "== fuzz targets (clang, libFuzzer)"
scripts/setup.sh --fuzz && scripts/fuzz.sh 20
echo "== Debian package (installs and purges it: root with CI=true or PELUXBAR_PACKAGE_TEST=1)"
scripts/setup.sh --package && tests/package/install_test.sh
