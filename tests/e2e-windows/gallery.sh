#!/usr/bin/env bash
# gallery.exe under Wine, driven as a person would by the gallery's end-to-end scenario
# (tests/e2e/gallery_e2e.cpp): built with MinGW, run in a private prefix in the Korean locale (code page
# 949) on a private virtual X display, typed into through ibus-hangul.
#   gallery.sh <source dir> <Windows build dir> <work dir> <scenario program>
set -euo pipefail

source_dir=$1
build_dir=$2
work=$3
scenario=$4
source "$source_dir/tools/wine-session.sh"

for tool in i686-w64-mingw32-g++ Xvfb xdotool; do
    command -v "$tool" >/dev/null || wine_fail "$tool is missing: run tools/install-deps.sh"
done
wine_build "$build_dir" gallery
exe=$build_dir/gallery/gallery.exe
[ -f "$exe" ] || wine_fail "no $exe"

trap wine_stop EXIT
unset DISPLAY # always a display of our own
wine_start "$work"
wine_ime_start || wine_fail "no Korean input method for Wine"
VQ_WINE_GALLERY=$exe "$scenario" --gtest_filter='*UnderWine*'
