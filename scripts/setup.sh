#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and only what is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Package name -> a file that proves it is installed (cheaper than asking dpkg for each).
declare -A proof=(
  [cmake]=/usr/bin/cmake
  [make]=/usr/bin/make
  [g++]=/usr/bin/g++
  [clang]=/usr/bin/clang++
  [libclang-rt-14-dev]=/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
  [g++-mingw-w64-i686]=/usr/bin/i686-w64-mingw32-g++-posix
  [binutils-mingw-w64-i686]=/usr/bin/i686-w64-mingw32-objdump
  [g++-mingw-w64-x86-64-posix]=/usr/bin/x86_64-w64-mingw32-g++-posix
  [binutils-mingw-w64-x86-64]=/usr/bin/x86_64-w64-mingw32-objdump
  [googletest]=/usr/src/googletest/CMakeLists.txt
  [wine]=/usr/bin/wine
  [wine32:i386]=/usr/lib/wine/wine
  [wine64]=/usr/lib/wine/wine64
  [fonts-wine]=/usr/share/wine/fonts/marlett.ttf
  [xvfb]=/usr/bin/Xvfb
  [xauth]=/usr/bin/xauth
  [x11-apps]=/usr/bin/xwd
  [fonts-ipafont-gothic]=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
  [locales]=/usr/sbin/locale-gen
  [fp-utils]=/usr/bin/chmcmd
  [chrony]=/usr/sbin/chronyd
  [python3]=/usr/bin/python3
  [imagemagick]=/usr/bin/convert
  [util-linux]=/usr/bin/setpriv
  [wixl]=/usr/bin/wixl
  [msitools]=/usr/bin/msibuild
  [faketime]=/usr/bin/faketime
)

missing=()
for pkg in "${!proof[@]}"; do
  [ -e "${proof[$pkg]}" ] || missing+=("$pkg")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  # No daemon (chrony's above all) may start while packages are installed.
  policy=/usr/sbin/policy-rc.d
  made_policy=0
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
    $SUDO chmod 755 "$policy"
    made_policy=1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails one index now and then: try again, then go on with the lists
  # that did arrive (the install below says whether they were enough).
  for attempt in 1 2 3; do
    $SUDO apt-get update -qq && break
    echo "setup: apt-get update failed (attempt $attempt of 3)"
    [ "$attempt" = 3 ] || sleep 10
  done
  if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    # 32-bit Wine needs the i386 lists to match the machine's own packages version for version; when
    # the mirror cannot give them, the rest still installs and only the 64-bit build is tested.
    rest=()
    for pkg in "${missing[@]}"; do [ "$pkg" = "wine32:i386" ] || rest+=("$pkg"); done
    [ ${#rest[@]} -lt ${#missing[@]} ] || exit 1
    echo "setup: 32-bit Wine could not be installed; installing the rest (only the 64-bit build will be tested)"
    $SUDO apt-get install -y -qq --no-install-recommends "${rest[@]}" >/dev/null
  fi
  if [ "$made_policy" = 1 ]; then $SUDO rm -f "$policy"; fi
  # chrony is here only as a test peer run by hand (chronyd -Q or -x). Its service would steer the
  # real clock from the next boot on, so a chrony installed by us never starts as a service.
  if printf '%s\n' "${missing[@]}" | grep -qx chrony; then
    $SUDO pkill -x chronyd 2>/dev/null || true
    if command -v systemctl >/dev/null 2>&1; then
      $SUDO systemctl mask chrony.service >/dev/null 2>&1 || true
    fi
    if command -v update-rc.d >/dev/null 2>&1; then
      $SUDO update-rc.d chrony disable >/dev/null 2>&1 || true
    fi
  fi
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "setup: generating ja_JP.UTF-8"
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# The tests reach their loopback peers by the name localhost too; a bare root file system
# (debootstrap, some containers) has no /etc/hosts, and then that name does not resolve.
if ! getent hosts localhost >/dev/null 2>&1; then
  echo "setup: adding localhost to /etc/hosts"
  echo '127.0.0.1 localhost' | $SUDO tee -a /etc/hosts >/dev/null
fi
# A name with two loopback addresses, one of each family: the tests' pool of two servers.
if ! getent ahosts tempivo-two.test 2>/dev/null | grep -q '^::1 '; then
  echo "setup: adding tempivo-two.test to /etc/hosts"
  printf '127.0.0.1 tempivo-two.test\n::1 tempivo-two.test\n' | $SUDO tee -a /etc/hosts >/dev/null
fi
