#!/usr/bin/env bash
# Writes generated seed inputs into OUT/<target>/: the bundled dictionary files whole and cut
# short, the full dictionaries' first lines when PELUXBAR_FULL_DICT_DIR names them, brace
# patterns with texts taken from the pattern tests and from the bundled dictionary lines, and
# single dictionary lines for the load matchers.
#   fuzz/make_seeds.sh OUT
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: fuzz/make_seeds.sh OUT}

dict_seeds() {  # target file
  local dir="$out/$1"
  mkdir -p "$dir"
  cp "data/$2" "$dir/bundled"
  # Even byte counts keep the UTF-16 files' code units whole.
  head -c 1000 "data/$2" > "$dir/bundled_head"
  if [[ -n "${PELUXBAR_FULL_DICT_DIR:-}" && -f "$PELUXBAR_FULL_DICT_DIR/$2" ]]; then
    head -c 4000 "$PELUXBAR_FULL_DICT_DIR/$2" > "$dir/full_head"
    tail -c 4000 "$PELUXBAR_FULL_DICT_DIR/$2" > "$dir/full_tail"
  fi
}
dict_seeds dict_cedict cedict_ts.uni
dict_seeds dict_unichin UNICHIN.TXT
dict_seeds dict_edict edict.uni
dict_seeds dict_kanjidic kanjidic.uni
dict_seeds dict_irregular irregularverbs.txt

# Pattern and text of each table row {u"PATTERN", u"TEXT", ...} of the pattern tests, with the
# C++ escapes undone; the pattern ends at a NUL byte, as the brace targets read their input.
brace_dir="$out/brace_search"
mkdir -p "$brace_dir"
n=0
while IFS= read -r row; do
  pattern=${row%%\", u\"*}
  text=${row#*\", u\"}
  text=${text%\"}
  printf '%b\0%b' "${pattern#\{u\"}" "$text" > "$brace_dir/test_$((n++))"
done < <(grep -ohE '\{u"([^"\\]|\\.)*", u"([^"\\]|\\.)*"' tests/patterns/*.cpp)

# The renderers' own patterns against lines of the bundled dictionaries.
mapfile -t patterns < <(grep -ohE 'k[A-Za-z]+Pattern\[\] = u"([^"\\]|\\.)*"' src/lookup/*.cpp |
                        sed -E 's/^[^"]*"//; s/"$//')
for file in cedict_ts.uni edict.uni; do
  mapfile -t lines < <(iconv -f UTF-16LE -t UTF-8 "data/$file" | tr -d '\r' | sed -n '2,6p')
  for pattern in "${patterns[@]}"; do
    for line in "${lines[@]}"; do printf '%b\0%s' "$pattern" "$line" > "$brace_dir/line_$((n++))"; done
  done
done
# The load matchers: single lines of the bundled dictionaries, with their line ends.
lines_dir="$out/load_patterns"
mkdir -p "$lines_dir"
for file in cedict_ts.uni edict.uni; do
  iconv -f UTF-16LE -t UTF-8 "data/$file" | sed -n '2,40p' | split -l 1 - "$lines_dir/${file%%.*}_"
done
echo "fuzz seeds: $(find "$out" -type f | wc -l) files in $out"
