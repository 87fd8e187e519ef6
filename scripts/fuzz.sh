#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer + UBSan) in build-fuzz/,
# replays every input of the regression corpus fuzz/regressions/<target>/, then fuzzes each
# target for SECONDS (default 10; 0 only replays), one at a time.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# The growing corpus stays in build-fuzz/corpus/<target>; an input that fails is written to
# build-fuzz/findings/<target>/ and the script fails. Minimise it (the target's -minimize_crash=1)
# and add it to fuzz/regressions/<target>/ with the mend, so that it is replayed from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
build=${PELUX_FUZZ_BUILD:-build-fuzz}

# target, max_len, checked-in seeds. The lengths keep each input fast enough for a short run:
# a pattern that backtracks up to the brace engine's step budget takes seconds.
targets=(
  "brace_search        24   brace_search"
  "brace_search_nocase 24   brace_search"
  "dict_cedict         512  -"
  "dict_unichin        1024 -"
  "dict_edict          512  -"
  "dict_kanjidic       512  -"
  "dict_irregular      1024 -"
  "load_patterns       256  -"
  "store_image         600  store_image"
  "native_channel      4096 native_channel"
  "host_messages       2048 host_messages"
  "settings_values     128  settings_values"
  "translation_reply   4096 translation_reply"
  "settings_file       1024 settings_file"
  "word_list           2048 word_list"
)
wanted=("$@")
selected() {
  ((${#wanted[@]} == 0)) && return 0
  local w; for w in "${wanted[@]}"; do [[ "$w" == "$1" ]] && return 0; done; return 1
}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CXX=${PELUX_FUZZ_CXX:-clang++} cmake -S fuzz -B "$build" -G Ninja "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/seeds"
fuzz/make_seeds.sh "$build/seeds"

# The host and the channel log every message they drop: their output is closed (sanitizer
# reports still come through).
common=(-timeout=30 -rss_limit_mb=2048 -close_fd_mask=3 -print_final_stats=1)
failed=()
for row in "${targets[@]}"; do
  read -r name max_len seeds <<<"$row"
  selected "$name" || continue
  binary="$build/fuzz_$name"
  regressions=(fuzz/regressions/"$name"/*)
  if [[ -e "${regressions[0]}" ]]; then
    echo "== fuzz $name: replaying ${#regressions[@]} regression inputs"
    "$binary" "${common[@]}" "${regressions[@]}" >"$build/replay_$name.log" 2>&1 ||
      { tail -40 "$build/replay_$name.log"; failed+=("$name (regression)"); continue; }
  fi
  ((seconds > 0)) || continue
  echo "== fuzz $name: ${seconds}s"
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  mkdir -p "$corpus" "$findings"
  inputs=("$corpus")
  [[ "$seeds" != - ]] && inputs+=("fuzz/seeds/$seeds")
  [[ -d "$build/seeds/$name" ]] && inputs+=("$build/seeds/$name")
  [[ "$name" == brace_search_nocase ]] && inputs+=("$build/seeds/brace_search")
  if ! nice -n 10 "$binary" "${common[@]}" -max_len="$max_len" -max_total_time="$seconds" \
      -artifact_prefix="$findings/" "${inputs[@]}" >"$build/fuzz_$name.log" 2>&1; then
    tail -60 "$build/fuzz_$name.log"
    failed+=("$name")
  fi
  grep -E '^stat::number_of_executed_units' "$build/fuzz_$name.log" | sed "s/^/  /" || true
done

# libFuzzer ends without exit handlers, so the targets' scratch folders outlive them.
for scratch in /dev/shm/peluxbar-fuzz-* "${TMPDIR:-/tmp}"/peluxbar-fuzz-*; do
  [[ -d "$scratch" ]] && ! kill -0 "${scratch##*-}" 2>/dev/null && rm -rf "$scratch"
done

if ((${#failed[@]})); then
  echo "fuzz: FAILED: ${failed[*]} (inputs in $build/findings/)" >&2
  exit 1
fi
echo "fuzz: all targets passed"
