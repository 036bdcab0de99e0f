#!/usr/bin/env bash
# Installs, from Debian's packages, everything this project needs to build,
# run and test KORUMIX: the native toolchain, the MinGW-w64 cross compilers,
# Wine (with its 32-bit half), Xvfb and the X tools the end-to-end tests use,
# a Japanese font and the ja_JP.UTF-8 locale the dialog tests run under.
# Idempotent: when everything is already there it changes nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build git
  googletest libgtest-dev
  clang clang-format
  g++-mingw-w64-i686 gcc-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  g++-multilib qemu-user-static
  wine wine32:i386 wine64
  xvfb xauth xdotool x11-utils imagemagick
  fonts-ipafont-gothic locales
  python3
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ -n "${need_update:-}" ]; then
  as_root apt-get update -qq
fi

# The dialog's tests run Wine under a Japanese locale (ANSI code page 932).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi

for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix i686-w64-mingw32-windres \
    /usr/lib/wine/wine64 qemu-i386-static xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "setup: $tool is still missing" >&2; exit 1; }
done
echo "setup: all tools present"
