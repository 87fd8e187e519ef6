#!/usr/bin/env bash
# Regenerates the README's pictures of reader mode from the end-to-end tests (Chromium headless):
# docs/reader-mode.png, the popup, with the bundled dictionaries; docs/card-{zh,ja}-{light,dark}.png,
# the learner's card for a Chinese word and for a conjugated Japanese verb, with the dictionaries of
# $PELUXBAR_FULL_DICT_DIR when set (else the bundled ones). Needs build/peluxbar.
#   scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/reader-mode.png}")"
mkdir -p "$(dirname "$out")"
PELUXBAR_SCREENSHOT="$out" node --test --test-name-pattern='popup appears' tests/e2e/reader.test.mjs
echo "screenshot: $out"
cards="$(realpath -m docs)"
PELUXBAR_CARD_SCREENSHOTS="$cards" node --test --test-name-pattern='pictures of the card' tests/e2e/card.test.mjs
echo "screenshots: $cards/card-{zh,ja}-{light,dark}.png"
