#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with; does nothing (quickly) when they
# are already there.
#   install-deps.sh        everything: tests, benchmarks, fuzzers, the Windows cross-build and Wine
#   install-deps.sh run    only what building and running the Linux application needs (make run, make gallery)
#   install-deps.sh windows   the Windows cross-build and Wine, the Korean input method Wine is typed
#                             through, and what drives them without a display (make run-windows)
set -euo pipefail
mode=${1:-all}

# Building and running the application: compiler, SDL2, FreeType, fontconfig and the Korean font; without a
# display also the virtual X display and what drives it (tools/run-app.sh).
run_packages=(build-essential cmake ninja-build libsdl2-dev libdbus-1-dev pkg-config libfreetype-dev libfontconfig-dev fonts-nanum)
display_packages=(xvfb libx11-dev xdotool xclip)
# Everything else, with what Debian recommends beside it.
packages=(
    "${run_packages[@]}" "${display_packages[@]}"
    clang clang-format libclang-rt-14-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev liblz4-dev
    x11-utils imagemagick locales libxdamage-dev optipng
)
# The Windows cross-build and Wine, and the real Korean input method the Linux checks type through (ibus
# with its Hangul engine on a private D-Bus), without recommends: the checks run on just these.
windows_packages=(
    g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 fonts-wine
)
ime_packages=(ibus ibus-hangul dbus)

not_installed() {
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$p"
        fi
    done
}

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
updated=""
apt_install() { # [apt-get options] packages: installs them, updating the package lists once
    [ -n "$updated" ] || { $SUDO apt-get update -qq; updated=1; }
    $SUDO apt-get install -y -qq "$@"
}

if [ "$mode" = run ] || [ "$mode" = windows ]; then
    wanted=("${run_packages[@]}")
    [ -n "${DISPLAY:-}" ] || wanted+=("${display_packages[@]}")
    if [ "$mode" = windows ]; then
        wanted+=("${windows_packages[@]}" "${ime_packages[@]}" x11-utils locales)
        if ! dpkg --print-foreign-architectures | grep -qx i386; then $SUDO dpkg --add-architecture i386; fi
    fi
    mapfile -t missing < <(not_installed "${wanted[@]}")
    if [ ${#missing[@]} -gt 0 ]; then
        echo "install-deps: installing ${missing[*]}"
        apt_install --no-install-recommends "${missing[@]}"
    fi
    exit 0
fi

# The Windows check runs Wine in a Korean locale (code page 949).
korean_locale() {
    if ! locale -a 2>/dev/null | grep -qix 'ko_KR.utf8'; then
        $SUDO localedef -i ko_KR -f UTF-8 ko_KR.UTF-8 || echo "install-deps: no ko_KR.UTF-8 locale" >&2
    fi
}

mapfile -t missing < <(not_installed "${packages[@]}")
mapfile -t missing_windows < <(not_installed "${windows_packages[@]}" "${ime_packages[@]}")
if [ ${#missing[@]} -gt 0 ] || [ ${#missing_windows[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]} ${missing_windows[*]}"
    # 32-bit Wine comes from the i386 architecture.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
        updated=""
    fi
    if [ ${#missing[@]} -gt 0 ]; then apt_install "${missing[@]}"; fi
    if [ ${#missing_windows[@]} -gt 0 ]; then apt_install --no-install-recommends "${missing_windows[@]}"; fi
fi
korean_locale
