#!/usr/bin/env bash
# Regenerates docs/reader-mode.png, the README's picture of reader mode, from the end-to-end test
# of the popup (Chromium headless, the bundled dictionaries). Needs build/peluxbar.
#   scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/reader-mode.png}")"
mkdir -p "$(dirname "$out")"
PELUXBAR_SCREENSHOT="$out" node --test --test-name-pattern='popup appears' tests/e2e/reader.test.mjs
echo "screenshot: $out"
