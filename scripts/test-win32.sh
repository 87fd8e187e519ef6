#!/usr/bin/env bash
# Runs the Windows tests under Wine: registration with regsvr32, then the host program that
# plays the browser (it also reads back what the registration wrote), then unregistration,
# checked key by key with `wine reg query`.
# Needs scripts/setup.sh --win32 and scripts/build-win32.sh first. No X server: Wine's null
# graphics driver.
#   scripts/test-win32.sh [--fresh-prefix]   (--fresh-prefix: start from a new Wine prefix)
#
# Every Wine step waits for what it depends on: the prefix is complete (wineboot and every
# process it started have ended) before anything else runs, and one persistent Wine server
# serves the whole run, so no step can start while a server that just went idle shuts down.
# A failed step prints its exit status and what Wine wrote to stderr.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
export WINEPREFIX="$root/build-win32/wineprefix"
# Errors from Wine stay on (they go to each step's stderr file); its "fixme" chatter does not.
export WINEDEBUG=fixme-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
dll='Z:'"${root//\//\\}"'\build-win32\PeluxBar.dll'
failures=0
work=$(mktemp -d)
server=""
cleanup() {
  [[ -n "$server" ]] && kill "$server" 2>/dev/null
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The class and library identifiers, read from the build (they come from PeluxBar.idl, the
# toolbar button's from the class table).
source build-win32/generated/identifiers.sh

# step WHAT COMMAND...: runs the command with its stdout shown; on failure prints the exit
# status and the command's stderr, and counts the failure.
step() {
  local what=$1 status=0
  shift
  "$@" 2>"$work/stderr" || status=$?
  if ((status)); then
    echo "  FAILED: $what exited with status $status; stderr:"
    sed 's/^/    | /' "$work/stderr"
    failures=$((failures + 1))
  fi
  return 0
}
# quiet WHAT COMMAND...: as step, with stdout hidden too (shown on failure).
quiet() {
  local what=$1 status=0
  shift
  "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
  if ((status)); then
    echo "  FAILED: $what exited with status $status; stdout and stderr:"
    sed 's/^/    | /' "$work/stdout" "$work/stderr"
    failures=$((failures + 1))
  fi
  return 0
}
# Stops the run at once: nothing after a broken prefix or server could mean anything.
give_up() {
  echo "Windows tests: $1"
  exit 1
}

if [[ "${1:-}" == --fresh-prefix ]]; then
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "== creating the Wine prefix"
  quiet "wineboot -i" wineboot -i
  # wineboot returns before the processes it started (services, the desktop, setup of the
  # built-in components) have finished writing the registry: wait for all of them, and for the
  # server to save the registry and end.
  quiet "wineserver -w (prefix creation)" wineserver -w
  [[ -f "$WINEPREFIX/system.reg" ]] || give_up "the Wine prefix was not created"
  # The desktop process started with the prefix keeps the driver it found first: set the null
  # driver, then let every process of the prefix end so the next start reads it.
  quiet "wine reg add (null graphics driver)" \
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
  wineserver -k 2>/dev/null || true
  quiet "wineserver -w (driver change)" wineserver -w
  ((failures == 0)) || give_up "the Wine prefix could not be prepared"
else
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi
# One server for the whole run: it would otherwise exit a few seconds after each last client
# and race the next step's start.
wineserver -p || give_up "wineserver -p failed with status $?"
quiet "a first program in the prefix" wine cmd /c exit 0
((failures == 0)) || give_up "Wine could not start a program in the prefix"

# absent KEY [VALUE]: KEY (or its value VALUE) does not exist; `wine reg query` ends with 1 for
# "no such key or value", and anything else above 0 is a failure of Wine itself.
absent() {
  local key=$1 name=${2:-} status=0
  if [[ -z "$name" ]]; then wine reg query "$key" >/dev/null 2>"$work/stderr" || status=$?
  else wine reg query "$key" /v "$name" >/dev/null 2>"$work/stderr" || status=$?; fi
  if ((status == 0)); then
    echo "  FAILED: $key${name:+ [$name]} should be gone"; failures=$((failures + 1))
  elif ((status > 1)); then
    echo "  FAILED: wine reg query '$key' exited with status $status; stderr:"
    sed 's/^/    | /' "$work/stderr"
    failures=$((failures + 1))
  fi
}

band=$PELUX_BAND_CLSID
google=$PELUX_GOOGLE_CLSID
typelib=$PELUX_TYPELIB_ID
button=$PELUX_BUTTON_ID
ie='HKLM\Software\Microsoft\Internet Explorer'

echo "== regsvr32 /s"
step "regsvr32 /s" wine regsvr32 /s "$dll"
# The host program reads back every value the registration wrote
# (RegistrationWritesEveryKeyOfBothClassesAndTheButton).
export PELUX_REGISTERED_DLL="$dll"

echo "== the host program"
# The bundled dictionaries lie beside the component, where its loaders look.
# The Chinese one is the bundled entries over and over, long enough to show progress and to be
# cancelled.
cp data/UNICHIN.TXT data/edict.uni data/kanjidic.uni data/irregularverbs.txt build-win32/
python3 tests/win32/make_big_dictionary.py data build-win32 5500
# A copy of the component under a path of more than 260 characters (under a name of its own,
# or the loader would hand back the copy already loaded).
deep="build-win32/$(printf 'long-folder-name-%02d/' $(seq 1 14))"
mkdir -p "$deep"
cp build-win32/PeluxBar.dll "$deep/PeluxBarDeep.dll"
deep_windows='Z:'"$root/$deep"'PeluxBarDeep.dll'
export PELUX_LONG_PATH_COPY="${deep_windows//\//\\}"
python3 tests/win32/translation_server.py "$work/port" "$work/requests" 2>"$work/server-stderr" &
server=$!
for _ in $(seq 100); do [[ -s "$work/port" ]] && break; sleep 0.1; done
[[ -s "$work/port" ]] || { cat "$work/server-stderr"; give_up "the stand-in translation service did not start"; }
export PELUX_TRANSLATION_BASE="http://127.0.0.1:$(cat "$work/port")"
export PELUX_TRANSLATION_LOG="Z:$work/requests"
# A hang is a failure too: the silent-service case must end by the component's own time limit.
step "band_host.exe" timeout 600 wine "$root/build-win32/band_host.exe"

echo "== the pattern contract against the VBScript object"
step "pattern_contract.exe" timeout 600 wine "$root/build-win32/pattern_contract.exe" --gtest_brief=1

echo "== regsvr32 /u /s"
step "regsvr32 /u /s" wine regsvr32 /u /s "$dll"
for clsid in "$band" "$google"; do absent "HKCR\\CLSID\\$clsid"; done
for progid in PeluxBar.PeluxBand PeluxBar.PeluxBand.1 PeluxBar.Google PeluxBar.Google.1; do
  absent "HKCR\\$progid"
done
absent 'HKCR\AppID\PeluxBar.DLL'
absent "$ie\\Toolbar" "$band"
absent "$ie\\Extensions\\$button"
absent "HKCR\\TypeLib\\$typelib"
quiet "wine reg query HKCR\\CLSID (the key must stay)" wine reg query 'HKCR\CLSID' 

if ((failures)); then echo "Windows tests: $failures failure(s)"; exit 1; fi
echo "Windows tests: all passed"
