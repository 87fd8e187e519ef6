#!/usr/bin/env bash
# Installs the Debian package, uses it as a user would, purges it, and checks that the system's
# files are as they were. It changes the system, so it runs only as root and only when asked:
# CI=true or PELUXBAR_PACKAGE_TEST=1. It never replaces a peluxbar package it did not install.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [[ "${CI:-}" != true && "${PELUXBAR_PACKAGE_TEST:-}" != 1 ]]; then
  echo "package test skipped: it installs and purges a package (set CI=true or PELUXBAR_PACKAGE_TEST=1)"
  exit 0
fi
if [[ $(id -u) != 0 ]]; then
  echo "package test skipped: installing a package needs root"
  exit 0
fi
if dpkg-query -W -f='${Status}' peluxbar 2>/dev/null | grep -q ' installed$'; then
  echo "package test skipped: a peluxbar package is installed already, and this test leaves it alone"
  exit 0
fi

scripts/package.sh
version=$(sed -n 's/^project(PeluxBar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$PWD/build/peluxbar_${version}_amd64.deb
echo "lintian: $deb"
# Errors fail the package; warnings and notes are printed for the reader.
lintian --fail-on error --info "$deb"
work=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Every file and folder of the trees a package touches, with its type and mode, and a file's size
# (a folder's own size can stay grown after its entries have gone).
snapshot() {
  find /usr /etc /opt /var/lib/dpkg/info -xdev -printf '%p %y %m %s\n' 2>/dev/null |
    awk '$2 == "d" { $4 = "-" } { print }' | sort
}
installed_packages() { dpkg-query -W -f='${binary:Package} ${db:Status-Abbrev}\n' | awk '$2 ~ /^ii/ {print $1}' | sort; }

snapshot >"$work/before"
installed_packages >"$work/packages-before"
# dpkg removes a package's folders that are empty at its purge, even one that was there, empty and
# no package's, before the install (an empty /etc/opt, say): such folders are put back afterwards.
dpkg-deb -c "$deb" | awk '$1 ~ /^d/ { sub(/^\./, "", $6); sub(/\/$/, "", $6); print $6 }' | while read -r dir; do
  if [[ -n "$dir" && -d "$dir" && -z "$(ls -A "$dir")" ]] && ! dpkg -S "$dir" >/dev/null 2>&1; then
    stat -c '%a %n' "$dir"
  fi
done >"$work/empty-folders"
installed=0
cleanup() {
  if ((installed)); then
    dpkg --purge peluxbar >/dev/null
    # Whatever apt pulled in for the package goes too, so that nothing else has changed.
    local added
    added=$(comm -13 "$work/packages-before" <(installed_packages) | tr '\n' ' ')
    if [[ -n "${added// }" ]]; then
      # shellcheck disable=SC2086
      apt-get purge -y $added >/dev/null
    fi
    local mode dir
    while read -r mode dir; do
      [[ -d "$dir" ]] || { mkdir -m "$mode" "$dir" && echo "note: dpkg's purge removed the empty folder $dir; put back"; }
    done <"$work/empty-folders"
  fi
}
trap 'cleanup; rm -rf "$work"' EXIT

echo "== installing $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
installed=1

echo "== the installed command finds the package's dictionaries"
want=$(build/peluxbar lookup --dict-dir build/dict --lang zh 中国人)
got=$(env -u PELUXBAR_DICT_DIR /usr/bin/peluxbar lookup --lang zh 中国人) || fail "installed lookup failed"
[[ "$got" == "$want" ]] || fail "installed lookup gave '$got', the full dictionary gives '$want'"
[[ "$(ls /usr/share/peluxbar/dict)" == "$(dpkg -L peluxbar | sed -n 's|^/usr/share/peluxbar/dict/||p' | sort)" ]] ||
  fail "a lookup left files in /usr/share/peluxbar/dict"
set +e
message=$(cd "$work" && env -u PELUXBAR_DICT_DIR /usr/bin/peluxbar dict build 2>&1)
status=$?
set -e
[[ $status == 2 && "$message" == *--out* ]] || fail "installed 'dict build' without --out: exit $status, '$message'"

echo "== browsers: one hover each, through the system host manifest"
# tests/package/<browser>_hover.mjs: each browser with a hover test of its own joins here.
for hover in tests/package/*_hover.mjs; do
  node --test "$hover" || fail "$hover"
done

echo "== purging"
cleanup
installed=0
snapshot >"$work/after"
if ! diff "$work/before" "$work/after" >"$work/changed"; then
  fail "the system's files differ after install and purge:"
  cat "$work/changed" >&2
fi

((failures == 0)) && echo "package test passed"
exit $((failures > 0))
