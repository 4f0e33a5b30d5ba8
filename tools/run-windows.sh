#!/usr/bin/env bash
# Cross-builds a Windows program of the project and runs it under Wine, in a private prefix and the Korean
# locale, with a Korean input method (tools/wine-session.sh).
#   run-windows.sh TARGET TITLE SCREENSHOT
# Without a display it runs on a private Xvfb, saves a screenshot of the first frames to SCREENSHOT (PNG) and
# closes the program as a user would (Alt+F4, then Yes to a quit question if it asks one).
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1 title=$2 shot=$3
source tools/wine-session.sh

wine_build build/windows "$target"
exe=build/windows/app/$target.exe
[ -f "$exe" ] || exe=$(find build/windows -name "$target.exe" | head -n1)
[ -f "$exe" ] || wine_fail "no $target.exe was built"
work=$PWD/build/wine-run # Wine wants an absolute prefix
had_display=${DISPLAY:-}
if [ -z "$had_display" ]; then
    # The screenshot and the close are driven through the project's X helper.
    [ -f build/normal/CMakeCache.txt ] || cmake -S . -B build/normal -DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=OFF >/dev/null
    cmake --build build/normal --target x11_helper -j 2 >/dev/null
fi
helper=build/normal/tools/x11/x11_helper
trap wine_stop EXIT
wine_start "$work"
# Korean through ibus-hangul, unless the desktop's own X input method is there to type with.
if [ -z "$had_display" ] || [ -z "${XMODIFIERS:-}" ] ||
    ! xprop -root XIM_SERVERS 2>/dev/null | grep -q "@server=${XMODIFIERS#@im=}"; then
    wine_ime_start || echo "run-windows: no Korean input method; Latin keys only"
fi

if [ -n "$had_display" ]; then
    wine "$exe"
    exit $?
fi

echo "run-windows: no display here; running $target.exe on the virtual display $DISPLAY"
wine "$exe" >"$work/wine.log" 2>&1 &
pid=$!
window=$("$helper" wait "$title" 120 | awk '{print $1; exit}')
[ -n "$window" ] || { cat "$work/wine.log"; wine_fail "$target.exe showed no window"; }
xdotool mousemove 1020 760 # the pointer stays off the window
if "$helper" shot "$window" 60 "$shot"; then
    echo "run-windows: screenshot of the running program saved to $shot"
fi
# Alt+F4 again every few seconds until the question shows: a busy machine may drop the first one.
deadline=$((SECONDS + 60)) again=0
while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    if [ $SECONDS -ge $again ]; then
        "$helper" focus "$window"
        xdotool key alt+F4
        again=$((SECONDS + 5))
    fi
    box=$("$helper" wait "$title" 0.5 "$window" | awk '{print $1; exit}') || true # not there yet
    if [ -n "$box" ]; then
        "$helper" focus "$box"
        xdotool key Return
        break
    fi
done
deadline=$((SECONDS + 60))
while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
kill -0 "$pid" 2>/dev/null && wine_fail "$target.exe did not end after the close"
code=0
wait "$pid" || code=$?
echo "run-windows: $target.exe ended with exit code $code"
exit "$code"
