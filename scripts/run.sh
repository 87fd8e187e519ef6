#!/usr/bin/env bash
# Sets up, builds and runs PeluxBar's main job on the bundled dictionary set in data/: with a
# display, Chromium with the PeluxBar band on a page of sample text; without one, the lookups that
# a pointer over that text makes.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  scripts/setup.sh --browser
  scripts/build.sh >/dev/null
  echo "Opening Chromium with the PeluxBar band. Load a dictionary from the band's menu (its left"
  echo "button), then move the mouse pointer over the text."
  exec env PELUXBAR_DICT_DIR="$PWD/data" build/peluxbar browse
fi
scripts/setup.sh
scripts/build.sh >/dev/null
bin=build/peluxbar
echo "Chinese:  $bin lookup --dict-dir data --lang zh --subwords 中国人很多"
"$bin" lookup --dict-dir data --lang zh --subwords 中国人很多
echo; echo
echo "Japanese: $bin lookup --dict-dir data --lang ja 日本語を話す"
"$bin" lookup --dict-dir data --lang ja 日本語を話す
echo; echo
echo "English:  $bin lookup --dict-dir data --lang zh cats"
"$bin" lookup --dict-dir data --lang zh cats
echo
echo
echo "No display here, so the lookups ran on the command line. On a desktop, scripts/run.sh opens"
echo "Chromium with the PeluxBar band; under a virtual display: scripts/setup.sh --browser, then"
echo "  PELUXBAR_DICT_DIR=\$PWD/data xvfb-run -a build/peluxbar browse"
