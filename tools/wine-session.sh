# Running the Windows programs under Wine, written once for tools/run-windows.sh and the Wine checks.
# Source it, then:
#   wine_build BUILD_DIR TARGET...   cross-compile targets with MinGW into BUILD_DIR (configured once)
#   wine_start WORK                  a private Wine prefix in WORK/wineprefix, the Korean locale (code page
#                                    949), NanumGothic with smoothed fonts and, without a display, a private
#                                    Xvfb; wine_stop ends them
# Without a window manager Wine manages its windows itself (Managed=N), and the caption buttons need Marlett.

wine_fail() {
    echo "wine: $*" >&2
    exit 1
}

# The prefix's fonts and their smoothing, so that the Windows build looks as on a Windows desktop with the
# face the Linux build uses: NanumGothic installed (the Win32 backend chooses it when present) and
# grayscale smoothing, as the Linux renderer draws. Done once per prefix.
wine_fonts() {
    local marker=$WINEPREFIX/.velquist-fonts-1 font
    [ -f "$marker" ] && return 0
    for font in /usr/share/fonts/truetype/nanum/NanumGothic.ttf /usr/share/fonts/truetype/nanum/NanumGothicBold.ttf; do
        [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]' \
        '"NanumGothic (TrueType)"="NanumGothic.ttf"' '"NanumGothic Bold (TrueType)"="NanumGothicBold.ttf"' '' \
        '[HKEY_CURRENT_USER\Control Panel\Desktop]' '"FontSmoothing"="2"' \
        '"FontSmoothingType"=dword:00000001' '"FontSmoothingGamma"=dword:00000578' \
        '"FontSmoothingOrientation"=dword:00000001' >"$WINEPREFIX/drive_c/velquist-fonts.reg"
    wine regedit /S 'C:\velquist-fonts.reg' >/dev/null 2>&1 || wine_fail "the font settings did not go in"
    wineserver -w
    touch "$marker"
}

wine_build() {
    local build_dir=$1 source_dir generator=Unix\ Makefiles
    shift
    source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    command -v ninja >/dev/null && generator=Ninja
    mkdir -p "$build_dir"
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        cmake -S "$source_dir" -B "$build_dir" -G "$generator" \
            -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
            -DVQ_TESTS=OFF >"$build_dir/configure.log" 2>&1 || { cat "$build_dir/configure.log"; wine_fail "configure failed"; }
    fi
    cmake --build "$build_dir" --target "$@" -j 2 >"$build_dir/build.log" 2>&1 ||
        { cat "$build_dir/build.log"; wine_fail "build failed"; }
}

wine_xvfb_pid=""
wine_start() {
    local work
    work=$(mkdir -p "$1" && cd "$1" && pwd)
    for tool in wine wineboot wineserver; do
        command -v "$tool" >/dev/null || wine_fail "$tool is missing: run tools/install-deps.sh"
    done
    # Wine runs 32-bit programs through a 32-bit loader, which a kernel without 32-bit support cannot start
    # (exit code 126): nothing Windows can be checked there, which is a skip (77), not a failure.
    local loader=/usr/lib/wine/wine code=0
    if [ -f "$loader" ]; then
        "$loader" --version >/dev/null 2>&1 || code=$?
        if [ "$code" = 126 ]; then
            echo "wine: this machine's kernel cannot run 32-bit programs; the Windows checks are skipped" >&2
            exit 77
        fi
    fi
    mkdir -p "$work"
    if ! locale -a 2>/dev/null | grep -qix 'ko_KR.utf8'; then
        mkdir -p "$work/locale"
        localedef -i ko_KR -f UTF-8 "$work/locale/ko_KR.UTF-8" 2>/dev/null || true
        export LOCPATH=$work/locale
    fi
    export LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8
    export WINEPREFIX=$work/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export HOME=${HOME:-$work}
    wineserver -k >/dev/null 2>&1 || true # a server left over from an interrupted run

    if [ -z "${DISPLAY:-}" ]; then
        command -v Xvfb >/dev/null || wine_fail "Xvfb is missing: run tools/install-deps.sh"
        rm -f "$work/display"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
        wine_xvfb_pid=$!
        local deadline=$((SECONDS + 30))
        until [ -s "$work/display" ]; do
            kill -0 "$wine_xvfb_pid" 2>/dev/null && [ $SECONDS -lt $deadline ] || wine_fail "Xvfb did not start"
            sleep 0.05
        done
        export DISPLAY=:$(head -n1 "$work/display")
    fi

    if [ ! -f "$WINEPREFIX/.velquist-ready" ]; then
        rm -rf "$WINEPREFIX"
        wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; wine_fail "wineboot failed"; }
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$work/wineboot.log" 2>&1
        wineserver -w
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        touch "$WINEPREFIX/.velquist-ready"
    fi
    wine_fonts
}

wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    wine_ime_stop
    if [ -n "$wine_xvfb_pid" ]; then
        kill "$wine_xvfb_pid" 2>/dev/null || true
        wait "$wine_xvfb_pid" 2>/dev/null || true
        wine_xvfb_pid=""
    fi
}

# ---- A real Korean input method for the Windows programs ----
#   wine_ime_start    after wine_start: ibus with its Hangul engine, in Hangul mode, offered to Wine as an X
#                     input method (XIM) on the session's display; 1 when ibus or its engine is missing.
#                     wine_stop ends it.
# Wine talks to the XIM server that XMODIFIERS names, in the Korean locale, and sends compositions to the
# program only in its default on-the-spot style (the prefix leaves the X11 driver's InputStyle unset). The
# daemons get a private home, settings from a key file and a private session bus; NO_AT_BRIDGE keeps the XIM
# helper from starting accessibility daemons that would outlive the session. Keys that end a composition
# are handed back (use-event-forwarding): without that, Wine lets a space or Return overtake the syllable
# it ends.
wine_ime_dir=""
wine_ime_pids=()
wine_ime_env() { # command...: runs it in the input method's environment
    env -u DBUS_SESSION_BUS_ADDRESS -u IBUS_ADDRESS HOME="$wine_ime_dir/home" \
        XDG_CONFIG_HOME="$wine_ime_dir/home/.config" XDG_CACHE_HOME="$wine_ime_dir/home/.cache" \
        XDG_RUNTIME_DIR="$wine_ime_dir/runtime" GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1 \
        ${wine_ime_bus:+DBUS_SESSION_BUS_ADDRESS="$wine_ime_bus"} "$@"
}
wine_ime_wait() { # seconds what command...: polls the command until it succeeds
    local deadline=$((SECONDS + $1)) what=$2
    shift 2
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || { echo "wine: $what" >&2; return 1; }
        sleep 0.1
    done
}
wine_ime_start() {
    for tool in ibus ibus-daemon dbus-daemon xprop; do
        command -v "$tool" >/dev/null || { echo "wine: $tool is missing: no input method" >&2; return 1; }
    done
    [ -d /usr/share/ibus/component ] && grep -qs hangul /usr/share/ibus/component/*.xml ||
        { echo "wine: the ibus Hangul engine is missing" >&2; return 1; }
    wine_ime_dir=$(cd "$WINEPREFIX/.." && pwd)/ime
    rm -rf "$wine_ime_dir"
    mkdir -p "$wine_ime_dir/home/.config/glib-2.0/settings" "$wine_ime_dir/home/.cache" "$wine_ime_dir/runtime"
    chmod 700 "$wine_ime_dir/runtime"
    printf '%s\n' "[org/freedesktop/ibus/engine/hangul]" "initial-input-mode='hangul'" \
        "use-event-forwarding=true" "" "[desktop/ibus/general]" "preload-engines=['hangul']" \
        >"$wine_ime_dir/home/.config/glib-2.0/settings/keyfile"
    wine_ime_bus=""
    wine_ime_env dbus-daemon --session --nofork --nosyslog --print-address=3 3>"$wine_ime_dir/bus" \
        >"$wine_ime_dir/dbus.log" 2>&1 &
    wine_ime_pids+=($!)
    wine_ime_wait 30 "the session bus did not start" test -s "$wine_ime_dir/bus" || return 1
    wine_ime_bus=$(head -n1 "$wine_ime_dir/bus")
    wine_ime_env ibus-daemon --xim --panel=disable --emoji-extension=disable >"$wine_ime_dir/ibus.log" 2>&1 &
    wine_ime_pids+=($!)
    wine_ime_wait 60 "ibus has no Hangul engine" wine_ime_env timeout 10 ibus engine hangul || return 1
    wine_ime_wait 60 "ibus offers no X input method" sh -c 'xprop -root XIM_SERVERS | grep -q @server=ibus' ||
        return 1
    export XMODIFIERS=@im=ibus
}
wine_ime_stop() {
    [ -n "$wine_ime_dir" ] || return 0
    wine_ime_env timeout 5 ibus exit >/dev/null 2>&1 || true # ends the engine and the XIM helper
    local i p
    for ((i = ${#wine_ime_pids[@]} - 1; i >= 0; i--)); do
        p=${wine_ime_pids[i]}
        kill "$p" 2>/dev/null && wait "$p" 2>/dev/null || true
    done
    # Helpers the bus started on demand carry the private home.
    for p in $(grep -lsaF "HOME=$wine_ime_dir/home" /proc/[0-9]*/environ | cut -d/ -f3); do
        [ "$p" != $$ ] && kill "$p" 2>/dev/null || true
    done
    rm -rf "$wine_ime_dir"
    wine_ime_dir="" wine_ime_pids=()
    unset XMODIFIERS
}
