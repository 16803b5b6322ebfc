#!/usr/bin/env bash
# The main job: build everything, make a sample installer with twpack and run
# it under Wine in silent mode, then show what the setup program received and
# the installer's exit code.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --win32
jobs=$(nproc)

echo "== Building the engine, the writer and twpack (native), and the stub (win32)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target twpack
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
twpack=build/native/twpack
echo "unpack.exe: $(stat -c %s build/win32/unpack.exe) bytes"

echo "== A sample payload: the stand-in setup program, the cleanup tool and a text file"
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/payload"
cp build/win32/samples/inst.exe build/win32/samples/TWDELTMP.EXE "$demo/payload/"
cp README.md "$demo/payload/README.TXT"
"$twpack" archive -o "$demo/payload.arj" "$demo/payload"
"$twpack" list "$demo/payload.arj"
"$twpack" test "$demo/payload.arj"

echo "== The installer: stub + archive + descriptor, silent mode"
"$twpack" build --stub build/win32/unpack.exe --mode silent -o "$demo/setup.exe" "$demo/payload.arj"
"$twpack" list "$demo/setup.exe"

echo "== Running it under Wine: setup.exe /LANG=EN \"C:\\Program Files\\Demo\" (setup told to end with 3)"
# Wine's first start in a new prefix is slow: the prefix is kept in the
# user's cache and reused.
export WINEPREFIX="${TW_WINE_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwell-unpack/wine-prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$(dirname "$WINEPREFIX")"
report="$PWD/$demo/inst-report.txt"
set +e
# Wine's own helper programs are ended while the X display still exists.
TW_INST_REPORT="Z:${report//\//\\}" TW_INST_EXIT=3 \
  timeout 600 xvfb-run -a sh -c 'wine "$@"; status=$?; wineserver -k; exit $status' wine \
  "$demo/setup.exe" /LANG=EN 'C:\Program Files\Demo'
status=$?
set -e
echo "== What the setup program received"
if [ -f "$report" ]; then
  cat "$report"
  echo "RPARA.DAT as text: [$(sed -n 's/^rpara_hex=//p' "$report" | xxd -r -p)]"
else
  echo "(no report: the setup program did not run)"
fi
echo "== The installer's exit code: $status (the setup program was told to end with 3)"
[ "$status" -eq 3 ]
