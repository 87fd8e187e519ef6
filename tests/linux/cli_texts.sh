#!/usr/bin/env bash
# Runs peluxbar with each argument list below (no command, --help, wrong and missing options and
# values) and compares its standard output, standard error and exit code with cli_texts.expected.
#   tests/linux/cli_texts.sh PELUXBAR            compare; prints the difference and fails on one
#   tests/linux/cli_texts.sh PELUXBAR --record   rewrite cli_texts.expected from this build
# Only argument lists that stop before any work are here: nothing loads, installs or connects.
set -euo pipefail
peluxbar=$1
expected="$(dirname "$0")/cli_texts.expected"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cases=$(cat <<'CASES'

--help
-h
help
bogus
lookup
lookup --help
lookup -h
lookup word --help
lookup --bogus
lookup --lang
lookup --dict-dir
lookup --lang xx word
lookup --lang=zh word
lookup --lang ja --lang xx word
lookup --lang --json word
lookup --bogus --help
lookup -hx
lookup --lang zh
lookup --lang zh one two
lookup --lang zh --stdin word
pattern
pattern --help
pattern --bogus x
pattern one
pattern one two three
pattern -x -x
pattern --json -- --help --help
pattern --json=1 x
translate
translate --help
translate --bogus x
translate --base
translate --timeout
translate --timeout soon word
translate --timeout 3601 word
translate one two
host --help
host --bogus
host extra
install --help
install --bogus
install extra
install --user-data-dir
install --user-data-dir ''
uninstall --help
uninstall extra
uninstall --user-data-dir ''
browse --help
browse --bogus
browse --profile
browse one two
dict
dict --help
dict -h
dict bogus
dict build --help
dict build --bogus
dict build extra
dict build --out
dict make-data --help
dict make-data --src
dict make-data --out
dict make-data extra
words
words --help
words bogus
words list --help
words list extra
words export
words export --anki
words export --anki a --csv b
words export --csv ''
words remove
words remove 0
words remove x
words remove 1 2
help lookup
--help lookup
lookup -h --bogus
lookup --lang zh --stdin --help
lookup --lang -h word
lookup --dict-dir --help --lang zh word
lookup --lang zh --js word
lookup ---lang zh word
lookup --lang zh --json=1 word
lookup --bogus --lang
lookup --lang ''
lookup --lang zh --
lookup --dict-dir /nonexistent --lang zh -abc
lookup --dict-dir /nonexistent --lang zh -x -y
lookup --dict-dir /nonexistent --lang zh -- -h
lookup --dict-dir /nonexistent --lang zh -- --
lookup --dict-dir '' --lang zh word
lookup --dict-dir / --lang zh $'\xff'
lookup --dict-dir / --dict-dir /nonexistent --lang zh word
pattern a b --help
pattern x --json y
pattern -- --json --dump
pattern --dump --json=1 -h
pattern $'\xff' x
translate --timeout -1 word
translate --timeout 0 word
translate --timeout nan word
translate --base --timeout 3 x
translate -- --bogus x
translate $'\xff'
host --help extra
host -- --help
dict build --out x --help
dict build -h
dict make-data --bogus
install --user-data-dir a --user-data-dir ''
uninstall --bogus
browse --profile x --help
browse -- --help
browse -x
CASES
)
run() {
  while IFS= read -r line; do
    eval "set -- $line"
    local status=0
    env -i HOME="$home" XDG_CONFIG_HOME="$home" PATH=/usr/bin:/bin "$peluxbar" "$@" \
        >"$home/out" 2>"$home/err" </dev/null || status=$?
    printf '$ peluxbar %s\nexit %d\n--- stdout\n' "$line" "$status"
    cat "$home/out"
    printf -- '--- stderr\n'
    cat "$home/err"
  done <<<"$cases"
}
if [[ "${2:-}" == "--record" ]]; then
  run >"$expected"
else
  run | diff -u "$expected" -
fi
