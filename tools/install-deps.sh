#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with.
# Does nothing (quickly) when all of them are already there.
set -euo pipefail

# Compilers, libraries, fonts and the virtual display, with what Debian recommends beside them.
packages=(
    build-essential cmake ninja-build clang clang-format libclang-rt-14-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev liblz4-dev libfreetype-dev libfontconfig-dev fonts-nanum
    xvfb x11-utils xdotool imagemagick libx11-dev locales
)
# The Windows cross-build and Wine, without recommends (the 32-bit Wine check runs on just these).
windows_packages=(
    g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 fonts-wine
)

not_installed() {
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$p"
        fi
    done
}
mapfile -t missing < <(not_installed "${packages[@]}")
mapfile -t missing_windows < <(not_installed "${windows_packages[@]}")

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The Windows check runs Wine in a Korean locale (code page 949).
korean_locale() {
    if ! locale -a 2>/dev/null | grep -qix 'ko_KR.utf8'; then
        $SUDO localedef -i ko_KR -f UTF-8 ko_KR.UTF-8 || echo "install-deps: no ko_KR.UTF-8 locale" >&2
    fi
}

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_windows[@]} -eq 0 ]; then
    korean_locale
    exit 0
fi

echo "install-deps: installing ${missing[*]} ${missing_windows[*]}"
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq "${missing[@]}"
fi
if [ ${#missing_windows[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing_windows[@]}"
fi
korean_locale
