#!/usr/bin/env bash
# The Windows program under Wine, driven like a person would: on a private virtual X display and in a
# private Wine prefix, in the Korean locale (code page 949). Every wait polls for what it needs.
#   run.sh <source dir> <Windows build dir> <work dir> <screen_check program> <x11_helper program>
set -euo pipefail

source_dir=$1
build_dir=$2
work=$3
screen_check=$4
helper=$5
resources=$source_dir/app/resources
screens=$work/screens
source "$source_dir/tools/wine-session.sh"

for tool in i686-w64-mingw32-g++ Xvfb xdotool; do
    command -v "$tool" >/dev/null || wine_fail "$tool is missing: run tools/install-deps.sh"
done
wine_build "$build_dir" velquist backend_check
exe=$build_dir/app/velquist.exe
[ -f "$exe" ] || wine_fail "no $exe"
mkdir -p "$screens"
rm -f "$screens"/*

wine_pid=""
cleanup() {
    if [ -n "$wine_pid" ] && kill -0 "$wine_pid" 2>/dev/null; then kill "$wine_pid" 2>/dev/null || true; fi
    wine_stop
}
trap cleanup EXIT
unset DISPLAY # always a display of our own
wine_start "$work"

shot() { # name: save the screen as it is now
    "$screen_check" "$resources" "$screens/$1.ppm" capture >/dev/null
}
check() { # name check [seconds]: wait until the screen passes the check
    "$screen_check" "$resources" "$screens/$1.ppm" "$2" "${3:-10}" || { shot "$1-failed"; wine_fail "check $2 failed (see $screens)"; }
}
running() {
    kill -0 "$wine_pid" 2>/dev/null
}
question() { # Alt+F4 on the main window; sets box to the question, once it shows its picture
    "$helper" focus "$main"
    xdotool key alt+F4
    box=$("$helper" wait Velquist 30 "$main" | awk '{print $1; exit}')
    [ -n "$box" ] || wine_fail "no question after Alt+F4"
    "$helper" shot "$box" 30 "$screens/question.png" || wine_fail "the question box stayed blank"
}
answer() { # key: answers the question and waits for the box to go
    xdotool key "$1"
    "$helper" gone "$box" 30 || wine_fail "the question stayed open after $1"
}

# The backend's own checks first: surfaces, pixel format, bitmaps, text, pages, windows, queue, clipboard.
(cd "$work" && timeout 300 wine "$build_dir/backend_check.exe" "$resources/3000.bmp") || wine_fail "backend_check failed"

(cd "$work" && exec wine "$exe") >"$work/wine.log" 2>&1 &
wine_pid=$!
main=$("$helper" wait Velquist 120 | awk '{print $1; exit}')
[ -n "$main" ] || { cat "$work/wine.log"; wine_fail "no Velquist window"; }
xdotool mousemove 1020 760 # the pointer stays off the window

# Start-up: tile and sprite.
check start idle 60

# Ctrl held over a tick plays the action once, ending on its second image at x 60, which stays for one
# tick. A busy machine may read the screen too rarely to see it, so the press is repeated (held across
# a tick each time) while the watcher looks.
"$screen_check" "$resources" "$screens/jump.ppm" jump 30 &
watcher=$!
for _ in 1 2 3 4 5 6; do
    kill -0 "$watcher" 2>/dev/null || break
    xdotool keydown ctrl
    sleep 0.6 # held across at least one 100 ms tick
    xdotool keyup ctrl
    sleep 0.5 # released long enough for the action to end
done
wait "$watcher" || wine_fail "no action image at x 60 after Ctrl"
check after-jump idle 10

# The question: the sprite keeps breathing behind it; Escape puts it away (Wine's Yes/No box answers
# Escape and its close button with IDCANCEL) and the program keeps running.
question
check question-breathing breathing 15
answer Escape
running || wine_fail "Escape ended velquist.exe"
check after-escape animating 15

# No, by its mnemonic, keeps the program running.
question
answer n
running || wine_fail "No ended velquist.exe"
check after-no animating 15

# Yes ends the program with exit code 0.
question
answer Return
deadline=$((SECONDS + 60))
while running && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
running && wine_fail "velquist.exe still runs after Yes"
code=0
wait "$wine_pid" || code=$?
wine_pid=""
[ "$code" -eq 0 ] || { cat "$work/wine.log"; wine_fail "velquist.exe ended with exit code $code"; }

if [ -x /usr/bin/convert ]; then
    for f in "$screens"/*.ppm; do /usr/bin/convert "$f" "${f%.ppm}.png" && rm -f "$f"; done
fi
echo "e2e-windows: passed (screenshots in $screens)"
