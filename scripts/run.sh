#!/usr/bin/env bash
# Sets up, builds and runs PeluxBar's main job on the bundled dictionary set in data/.
set -euo pipefail
cd "$(dirname "$0")/.."
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
