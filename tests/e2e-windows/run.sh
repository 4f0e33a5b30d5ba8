#!/usr/bin/env bash
# The Windows program under Wine, driven like a person would: on a private virtual X display and in a
# private Wine prefix, in the Korean locale (code page 949).
#   run.sh <source dir> <Windows build dir> <work dir> <screen_check program>
set -euo pipefail

source_dir=$1
build_dir=$2
work=$3
screen_check=$4
resources=$source_dir/app/resources
screens=$work/screens
prefix=$work/wineprefix

fail() {
    echo "e2e-windows: $*" >&2
    exit 1
}

for tool in i686-w64-mingw32-g++ wine wineboot wineserver Xvfb xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run tools/install-deps.sh"
done

# The program, cross-compiled.
generator="Unix Makefiles"
command -v ninja >/dev/null && generator=Ninja
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build_dir" -G "$generator" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=OFF >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; fail "configure failed"; }
fi
cmake --build "$build_dir" --target velquist backend_check -j 2 >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "build failed"; }
exe=$build_dir/app/velquist.exe
[ -f "$exe" ] || fail "no $exe"

mkdir -p "$screens"
rm -f "$screens"/*

# Code page 949 comes from the Korean locale; make a private one when the system has none.
if ! locale -a 2>/dev/null | grep -qix 'ko_KR.utf8'; then
    mkdir -p "$work/locale"
    localedef -i ko_KR -f UTF-8 "$work/locale/ko_KR.UTF-8" 2>/dev/null || true
    export LOCPATH=$work/locale
fi
export LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=${HOME:-$work}
wineserver -k >/dev/null 2>&1 || true # a server left over from an interrupted run

xvfb_pid=""
wine_pid=""
cleanup() {
    if [ -n "$wine_pid" ] && kill -0 "$wine_pid" 2>/dev/null; then kill "$wine_pid" 2>/dev/null || true; fi
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and writes it to the descriptor.
display_file=$work/display
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
[ -s "$display_file" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$display_file")

# The prefix is made once per build directory. Without a window manager Wine must manage its windows
# itself (otherwise every close waits for one), and the caption buttons need the Marlett font.
if [ ! -f "$prefix/.velquist-ready" ]; then
    rm -rf "$prefix"
    wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; fail "wineboot failed"; }
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$work/wineboot.log" 2>&1
    wineserver -w
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
    touch "$prefix/.velquist-ready"
fi

shot() { # name: save the screen as it is now
    "$screen_check" "$resources" "$screens/$1.ppm" capture >/dev/null
}
check() { # name check [seconds]: wait until the screen passes the check
    "$screen_check" "$resources" "$screens/$1.ppm" "$2" "${3:-10}" || { shot "$1-failed"; fail "check $2 failed (see $screens)"; }
}
velquist_windows() {
    xdotool search --onlyvisible --name '^Velquist$' 2>/dev/null || true
}
wait_for_box() { # the question is a second visible window titled Velquist
    for _ in $(seq 100); do
        for w in $(velquist_windows); do
            if [ "$w" != "$main" ]; then
                box=$w
                return 0
            fi
        done
        sleep 0.1
    done
    fail "no message box after Alt+F4"
}
wait_box_gone() {
    for _ in $(seq 100); do
        velquist_windows | grep -qx "$box" || return 0
        sleep 0.1
    done
    fail "the message box did not close"
}

# The backend's own checks first: surfaces, pixel format, bitmaps, text, pages, windows and the queue.
(cd "$work" && timeout 120 wine "$build_dir/backend_check.exe" "$resources/3000.bmp") || fail "backend_check failed"

(cd "$work" && exec wine "$exe") >"$work/wine.log" 2>&1 &
wine_pid=$!

main=""
for _ in $(seq 300); do
    main=$(velquist_windows | head -n1)
    [ -n "$main" ] && break
    kill -0 "$wine_pid" 2>/dev/null || { cat "$work/wine.log"; fail "velquist.exe ended before its window appeared"; }
    sleep 0.1
done
[ -n "$main" ] || fail "no Velquist window"
xdotool mousemove 1020 760 # the pointer stays off the window

# Start-up: tile and sprite.
check start idle 30

# Ctrl held over a few ticks: the action plays once, ending on its second image at x 60, which stays for
# one tick. A busy machine may read the screen too rarely to see it, so the press is repeated while the
# watcher looks.
"$screen_check" "$resources" "$screens/jump.ppm" jump 15 &
watcher=$!
sleep 0.3
for _ in 1 2 3; do
    xdotool keydown ctrl
    sleep 0.6
    xdotool keyup ctrl
    sleep 0.5
    kill -0 "$watcher" 2>/dev/null || break
done
wait "$watcher" || fail "no action image at x 60 after Ctrl"
check after-jump idle 5

# Alt+F4 asks the question; No keeps the window running.
xdotool key alt+F4
wait_for_box
sleep 0.5
shot question
# The No button by its mnemonic: Wine answers Escape with IDCANCEL, which counts as Yes.
xdotool key n
wait_box_gone
kill -0 "$wine_pid" 2>/dev/null || fail "velquist.exe ended after No"
check after-no animating 10

# Alt+F4 again; Yes ends the program with exit code 0.
xdotool key alt+F4
wait_for_box
sleep 0.3
xdotool key Return
for _ in $(seq 200); do
    kill -0 "$wine_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$wine_pid" 2>/dev/null && fail "velquist.exe still runs after Yes"
code=0
wait "$wine_pid" || code=$?
wine_pid=""
[ "$code" -eq 0 ] || { cat "$work/wine.log"; fail "velquist.exe ended with exit code $code"; }

if [ -x /usr/bin/convert ]; then
    for f in "$screens"/*.ppm; do /usr/bin/convert "$f" "${f%.ppm}.png" && rm -f "$f"; done
fi
echo "e2e-windows: passed (screenshots in $screens)"
