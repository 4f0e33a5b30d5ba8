#!/usr/bin/env bash
# Where the label and the wrapped edit field break a fixed table of texts (layout_check.cpp): the Linux
# build beside the Windows build under Wine, both drawing NanumGothic. Results of the "rule" class must be
# equal; "pixel" results, decided by glyph widths, are listed and may differ by a few pixels or one row
# start.
#   layout_compare.sh <source dir> <Windows build dir> <work dir> <Linux layout_check>
set -euo pipefail

source_dir=$1
build_dir=$2
work=$3
linux_check=$4
source "$source_dir/tools/wine-session.sh"

wine_build "$build_dir" layout_check
exe=$build_dir/layout_check.exe
[ -f "$exe" ] || wine_fail "no $exe"
trap wine_stop EXIT
unset DISPLAY # a display of our own
wine_start "$work"

"$linux_check" >"$work/layout-linux.txt"
(cd "$work" && timeout 300 wine "$exe") | tr -d '\r' >"$work/layout-windows.txt" ||
    wine_fail "layout_check.exe failed"
[ -s "$work/layout-windows.txt" ] || wine_fail "layout_check.exe printed nothing"

# One line per result: case, what, class, values. Pixel values: caret x within 3 pixels; row starts within
# one character of each other.
paste -d '|' "$work/layout-linux.txt" "$work/layout-windows.txt" | awk -F'|' '
    function key(line,   f) { split(line, f, " "); return f[1] " " f[2] " " f[3] }
    {
        if (key($1) != key($2)) { print "layout: results out of step: " $1 " / " $2; bad++; next }
        if ($1 == $2) { same++; next }
        split($1, l, " "); split($2, w, " ")
        if (l[3] == "rule") { print "layout: differs: linux " $1 "  windows " $2; bad++; next }
        print "layout: pixel difference: linux " $1 "  windows " $2
        if (length(l) != length(w)) { bad++; next }
        for (i = 4; i <= length(l); i++) {
            d = l[i] - w[i]; if (d < 0) d = -d
            if (d > 3) { print "layout: pixel difference too large: " $1 " / " $2; bad++; next }
        }
        pixel++
    }
    END {
        if (NR == 0) bad++
        printf "layout: %d results equal, %d within pixel tolerance, %d at fault\n", same, pixel, bad
        exit bad > 0
    }'
