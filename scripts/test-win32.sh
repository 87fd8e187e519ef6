#!/usr/bin/env bash
# Runs the Windows tests under Wine: registration with regsvr32 checked key by key with
# `wine reg query`, then the host program that plays the browser, then unregistration.
# Needs scripts/setup.sh --win32 and scripts/build-win32.sh first. No X server: Wine's null
# graphics driver.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
export WINEPREFIX="$root/build-win32/wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
dll='Z:'"${root//\//\\}"'\build-win32\PeluxBar.dll'
failures=0

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "== creating the Wine prefix"
  wineboot -i >/dev/null 2>&1 || true
fi
# The desktop process started with the prefix keeps the driver it found first: restart it.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w

# expect KEY [VALUE] TEXT: the value (or the default value) of KEY reads TEXT.
expect() {
  local key=$1 name=$2 text=$3 out
  if [[ -z "$name" ]]; then out=$(wine reg query "$key" /ve 2>/dev/null | tr -d '\r') || out=""
  else out=$(wine reg query "$key" /v "$name" 2>/dev/null | tr -d '\r') || out=""; fi
  if ! grep -qF -- "$text" <<<"$out"; then
    echo "  FAILED: $key [${name:-(Default)}] should read '$text'"; failures=$((failures + 1))
  fi
}
absent() {
  local key=$1 name=${2:-}
  if [[ -z "$name" ]] && wine reg query "$key" >/dev/null 2>&1; then
    echo "  FAILED: $key should be gone"; failures=$((failures + 1))
  elif [[ -n "$name" ]] && wine reg query "$key" /v "$name" >/dev/null 2>&1; then
    echo "  FAILED: $key [$name] should be gone"; failures=$((failures + 1))
  fi
}

band='{70D8AE0A-6C0A-4048-9E09-755F9962C061}'
google='{BA5900C6-FA02-4BD5-B108-F327B39920B4}'
typelib='{260A31FD-EDC5-4A15-9693-D242D0E9CD9E}'
button='{2DC14C1C-9612-40FB-981B-59324ABB1C2A}'
ie='HKLM\Software\Microsoft\Internet Explorer'

echo "== regsvr32 /s"
wine regsvr32 /s "$dll" || { echo "  FAILED: regsvr32 returned $?"; failures=$((failures + 1)); }
for row in "$band|PeluxBar.PeluxBand|CPeluxBand Object" "$google|PeluxBar.Google|CGoogle Object"; do
  IFS='|' read -r clsid progid description <<<"$row"
  expect "HKCR\\$progid.1" "" "$description"
  expect "HKCR\\$progid.1\\CLSID" "" "$clsid"
  expect "HKCR\\$progid" "" "$description"
  expect "HKCR\\$progid\\CLSID" "" "$clsid"
  expect "HKCR\\$progid\\CurVer" "" "$progid.1"
  expect "HKCR\\CLSID\\$clsid" "" "$description"
  expect "HKCR\\CLSID\\$clsid" AppID "AppID    REG_SZ"
  expect "HKCR\\CLSID\\$clsid\\ProgID" "" "$progid.1"
  expect "HKCR\\CLSID\\$clsid\\VersionIndependentProgID" "" "$progid"
  expect "HKCR\\CLSID\\$clsid\\Programmable" "" "(Default)"
  expect "HKCR\\CLSID\\$clsid\\InprocServer32" "" "$dll"
  expect "HKCR\\CLSID\\$clsid\\InprocServer32" ThreadingModel apartment
  expect "HKCR\\CLSID\\$clsid\\TypeLib" "" "$typelib"
done
expect 'HKCR\AppID\PeluxBar.DLL' AppID 'et todo too?'
expect "$ie\\Toolbar" "$band" PeluxBar
expect "$ie\\Extensions\\$button" "" 'PeluxBar Button'
expect "$ie\\Extensions\\$button" 'Default Visible' Yes
expect "$ie\\Extensions\\$button" ButtonText PeluxBar
expect "$ie\\Extensions\\$button" HotIcon "$dll,204"
expect "$ie\\Extensions\\$button" Icon "$dll,204"
expect "$ie\\Extensions\\$button" CLSID '{E0DD6CAB-2D10-11D2-8F1A-0000F87ABD16}'
expect "$ie\\Extensions\\$button" BandCLSID "$band"
expect "HKCR\\TypeLib\\$typelib\\1.0" "" 'PeluxBar 1.0 Type Library'
expect "HKCR\\TypeLib\\$typelib\\1.0\\0\\win64" "" "$dll"

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
work=$(mktemp -d)
python3 tests/win32/translation_server.py "$work/port" "$work/requests" &
server=$!
trap 'kill $server 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [[ -s "$work/port" ]] && break; sleep 0.1; done
export PELUX_TRANSLATION_BASE="http://127.0.0.1:$(cat "$work/port")"
export PELUX_TRANSLATION_LOG="Z:$work/requests"
wine "$root/build-win32/band_host.exe" || failures=$((failures + 1))

echo "== the pattern contract against the VBScript object"
wine "$root/build-win32/pattern_contract.exe" --gtest_brief=1 || failures=$((failures + 1))

echo "== regsvr32 /u /s"
wine regsvr32 /u /s "$dll" || { echo "  FAILED: regsvr32 /u returned $?"; failures=$((failures + 1)); }
for clsid in "$band" "$google"; do absent "HKCR\\CLSID\\$clsid"; done
for progid in PeluxBar.PeluxBand PeluxBar.PeluxBand.1 PeluxBar.Google PeluxBar.Google.1; do
  absent "HKCR\\$progid"
done
absent 'HKCR\AppID\PeluxBar.DLL'
absent "$ie\\Toolbar" "$band"
absent "$ie\\Extensions\\$button"
absent "HKCR\\TypeLib\\$typelib"
wine reg query 'HKCR\CLSID' >/dev/null 2>&1 || { echo "  FAILED: HKCR\\CLSID removed"; failures=$((failures + 1)); }

wineserver -k 2>/dev/null || true
if ((failures)); then echo "Windows tests: $failures failure(s)"; exit 1; fi
echo "Windows tests: all passed"
