#!/usr/bin/env bash
# Runs the application. On a machine without a display it runs it on a virtual X display instead, saves
# a screenshot of its first frames to build/velquist.png and closes it the way a user would (the close
# request, then Yes to the quit question).
set -uo pipefail
cd "$(dirname "$0")/.."

app=build/normal/app/velquist
helper=build/normal/tests/e2e/x11_helper
shot=build/velquist.png

if [ -n "${DISPLAY:-}" ]; then
    exec "$app" "$@"
fi

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "run-app: $tool is missing (make deps installs it)"; exit 1; }
done

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$number"
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
echo "run-app: no display here; running Velquist on the virtual display $DISPLAY"

"$app" "$@" &
app_pid=$!

# The main window, then the first few frames (the animation ticks every 100 ms).
window=""
for _ in $(seq 100); do
    window=$(xwininfo -name Velquist 2>/dev/null | awk '/Window id:/ {print $4}')
    [ -n "$window" ] && break
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "run-app: Velquist showed no window"
    exit 1
fi
sleep 1
import -window "$window" "$shot" && echo "run-app: screenshot of the running application saved to $shot"

# Close it as a user would: the close button, then Yes to the quit question.
if [ -x "$helper" ]; then
    "$helper" close "$window"
    box=""
    for _ in $(seq 100); do
        box=$("$helper" find Velquist | awk -v main="$window" '$1 != main {print $1; exit}')
        [ -n "$box" ] && break
        sleep 0.1
    done
    if [ -n "$box" ]; then
        "$helper" focus "$box"
        xdotool key Return
    fi
else
    kill "$app_pid"
fi
wait "$app_pid"
code=$?
app_pid=""
echo "run-app: Velquist ended with exit code $code"
exit "$code"
