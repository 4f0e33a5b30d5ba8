#!/usr/bin/env bash
# velquist.exe under Wine, driven by the application's monkey (tools/soak/velquist_monkey.cpp): built with
# MinGW, run in a private prefix in the Korean locale (code page 949) on a private virtual X display.
#   velquist_monkey.sh <source dir> <Windows build dir> <work dir> <monkey program> [seconds]
set -euo pipefail

source_dir=$1
build_dir=$2
work=$3
monkey=$4
seconds=${5:-30}
source "$source_dir/tools/wine-session.sh"

for tool in i686-w64-mingw32-g++ Xvfb xdotool; do
    command -v "$tool" >/dev/null || wine_fail "$tool is missing: run tools/install-deps.sh"
done
wine_build "$build_dir" velquist
exe=$build_dir/app/velquist.exe
[ -f "$exe" ] || wine_fail "no $exe"

trap wine_stop EXIT
unset DISPLAY # always a display of our own
wine_start "$work"
SOAK_OUTPUT=$work VQ_WINE_VELQUIST=$exe "$monkey" --seconds "$seconds"
