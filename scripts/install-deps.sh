#!/usr/bin/env bash
# Installs what the build, the tests and the benchmarks need on a fresh Debian machine.
#   install-deps.sh            native build and tests (compiler, CMake, GoogleTest)
#   install-deps.sh --win32    also the i686 cross compiler, Wine (32-bit) and Xvfb
#   install-deps.sh --bench    also zlib and libdeflate headers for the side-by-side benchmarks
set -euo pipefail

want_win32=0
want_bench=0
for arg in "$@"; do
  case "$arg" in
    --win32) want_win32=1 ;;
    --bench) want_bench=1 ;;
    --all) want_win32=1; want_bench=1 ;;
    *) echo "install-deps.sh: unknown option '$arg'" >&2; exit 2 ;;
  esac
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

pkgs=(g++ cmake make ninja-build libgtest-dev googletest python3 xxd)
[ "$want_bench" -eq 1 ] && pkgs+=(zlib1g-dev libdeflate-dev xz-utils)
if [ "$want_win32" -eq 1 ]; then
  pkgs+=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xdotool x11-utils imagemagick)
fi

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

export DEBIAN_FRONTEND=noninteractive
if [ "$want_win32" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
