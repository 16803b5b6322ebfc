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

# Wine's 32-bit loader needs a kernel that runs 32-bit x86 programs. Some
# kernels have that switched off; there a processor emulator registered for
# 32-bit programs stands in (slow, but the same Wine).
ensure_32bit_programs_run() {
  local probe
  probe=$(mktemp)
  # A 96-byte 32-bit program that only exits with status 42.
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ] && return 0
  echo "install-deps.sh: this kernel does not run 32-bit programs; registering an emulator for them" >&2
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends qemu-user-static
  [ -e /proc/sys/fs/binfmt_misc/register ] || "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      "${sudo_cmd[@]}" tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
}

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  [ "$want_win32" -eq 1 ] && ensure_32bit_programs_run
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if [ "$want_win32" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
[ "$want_win32" -eq 1 ] && ensure_32bit_programs_run
exit 0
