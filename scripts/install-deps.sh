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
# kernels have that switched off; there QEMU's user-mode emulator, registered
# for 32-bit programs, stands in. It must be QEMU 9 or later: older ones track
# guest memory page by page, and Wine's large address-space reservations make
# every program start take minutes instead of seconds.
emulator=/usr/bin/qemu-i386
binfmt=/proc/sys/fs/binfmt_misc
i386_elf_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_elf_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

runs_32bit_programs() {
  local probe status=0
  probe=$(mktemp)
  # A 96-byte 32-bit program that only exits with status 42.
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

# 0 when the given program is QEMU's emulator at version 9 or later.
is_current_qemu() {
  local major
  major=$("$1" --version 2>/dev/null | sed -n '1s/^qemu-.* version \([0-9]*\)\..*/\1/p' || true)
  [ -n "$major" ] && [ "$major" -ge 9 ]
}

# 0 when the emulator registered for 32-bit programs is current.
registered_emulator_is_current() {
  local interpreter
  interpreter=$(sed -n 's/^interpreter //p' "$binfmt/qemu-i386" 2>/dev/null) || return 1
  [ -n "$interpreter" ] && is_current_qemu "$(readlink -f "$interpreter")"
}

install_current_emulator() {
  is_current_qemu "$emulator" && return 0
  local release extra=()
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ "$release" = bookworm ]; then
    # Debian 12 ships QEMU 7.2; its backports carry a current one.
    local sources=/etc/apt/sources.list.d/bookworm-backports.sources
    if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
      printf 'Types: deb\nURIs: http://deb.debian.org/debian\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
        "${sudo_cmd[@]}" tee "$sources" >/dev/null
    fi
    extra=(-t bookworm-backports)
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  # The old static package is replaced: the new one holds the same emulators.
  local remove=()
  dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed' && remove=(qemu-user-static-)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${extra[@]}" qemu-user "${remove[@]}"
}

ensure_32bit_programs_run() {
  if [ ! -e "$binfmt/qemu-i386" ] && runs_32bit_programs; then
    return 0
  fi
  registered_emulator_is_current && runs_32bit_programs && return 0
  echo "install-deps.sh: this kernel does not run 32-bit programs; registering QEMU's emulator for them" >&2
  install_current_emulator
  [ -e "$binfmt/register" ] || "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
  # An entry for an older emulator is replaced. With flag F the kernel keeps
  # the emulator open, so replacing the file alone would not take effect.
  if [ -e "$binfmt/qemu-i386" ] && ! registered_emulator_is_current; then
    echo -1 | "${sudo_cmd[@]}" tee "$binfmt/qemu-i386" >/dev/null
  fi
  if [ ! -e "$binfmt/qemu-i386" ]; then
    printf '%s' ":qemu-i386:M::$i386_elf_magic:$i386_elf_mask:$emulator:F" |
      "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null
  fi
  runs_32bit_programs || { echo "install-deps.sh: 32-bit programs still do not run" >&2; exit 1; }
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
