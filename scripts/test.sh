#!/usr/bin/env bash
# Runs every test: the unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the installer stub's end-to-end tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --win32
jobs=$(nproc)

# The Windows stub and the stand-in programs, cross-compiled.
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

# Native build with sanitizers; the Wine tests find the stub through TW_WIN32_DIR.
# They run in one Wine session, with their prefix kept in the user's cache so
# that it is made once per machine.
wine_prefix="${TW_WINE_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwell-unpack/wine-tests-prefix}"
mkdir -p "$(dirname "$wine_prefix")"
cmake --preset sanitize -DTW_WIN32_DIR="$PWD/build/win32" \
  -DTW_WINE_PREFIX="$wine_prefix" >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs" --timeout 600
