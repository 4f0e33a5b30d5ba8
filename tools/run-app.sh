#!/usr/bin/env bash
# Runs a program of the project in a window.
#   run-app.sh PROGRAM TITLE SCREENSHOT [arguments...]
# On a machine without a display it runs it on a virtual X display instead, saves a screenshot of its first
# frames to SCREENSHOT (PNG) and closes it the way a user would: the close request, then Yes to the quit
# question. Every wait polls for what it needs with a deadline.
set -uo pipefail
cd "$(dirname "$0")/.."
app=$1 title=$2 shot=$3
shift 3
helper=build/normal/tools/x11/x11_helper
name=$(basename "$app")

# SDL wants a private runtime directory; a fresh login has one, a container or a plain shell may not.
own_runtime=""
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
    own_runtime=$(mktemp -d "${TMPDIR:-/tmp}/$name-runtime.XXXXXX")
    chmod 700 "$own_runtime"
    export XDG_RUNTIME_DIR=$own_runtime
fi
work=""
xvfb=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    [ -n "$work" ] && rm -rf "$work"
    [ -n "$own_runtime" ] && rm -rf "$own_runtime"
}
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ]; then
    "$app" "$@"
    exit $?
fi

for tool in Xvfb xdotool "$helper"; do
    command -v "$tool" >/dev/null || { echo "run-app: $tool is missing (make run installs and builds it)"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/$name-display.XXXXXX")
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
deadline=$((SECONDS + 30))
until [ -s "$work/display" ]; do
    kill -0 "$xvfb" 2>/dev/null && [ $SECONDS -lt $deadline ] || { echo "run-app: Xvfb did not start"; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$work/display")"
echo "run-app: no display here; running $title on the virtual display $DISPLAY"

"$app" "$@" &
app_pid=$!

# The window, then its first frame.
window=$("$helper" wait "$title" 60 | awk '{print $1; exit}')
if [ -z "$window" ]; then
    echo "run-app: $title showed no window"
    exit 1
fi
if "$helper" shot "$window" 30 "$shot"; then
    echo "run-app: screenshot of the running program saved to $shot"
else
    echo "run-app: the window showed no picture within 30 s"
fi

# Close it as a user would: the close button, then Yes (Return) to a quit question if the program asks one.
"$helper" close "$window"
deadline=$((SECONDS + 30))
while kill -0 "$app_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    box=$("$helper" wait "$title" 0.5 "$window" | awk '{print $1; exit}')
    if [ -n "$box" ]; then
        "$helper" focus "$box"
        xdotool key Return
        break
    fi
done
wait "$app_pid"
code=$?
app_pid=""
echo "run-app: $title ended with exit code $code"
exit "$code"
