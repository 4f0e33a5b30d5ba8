#!/usr/bin/env bash
# Installs the toolkit as a package and builds examples/hello against it, as another project would:
# for Linux (then runs it on a private virtual display, screenshot and close) and with the MinGW cross-build.
#   build_example.sh <source dir> <Linux build dir> <work dir>
set -euo pipefail
source_dir=$1
linux_build=$2
work=$3
fail() {
    echo "installed-package: $*" >&2
    exit 1
}
generator="Unix Makefiles"
command -v ninja >/dev/null && generator=Ninja
rm -rf "$work/install-linux" "$work/hello-linux" "$work/install-windows" "$work/hello-windows"

# Linux: the toolkit, its SDL and headless backends and the package files.
cmake --install "$linux_build" --prefix "$work/install-linux" >"$work/install-linux.log" || fail "install failed"
cmake -S "$source_dir/examples/hello" -B "$work/hello-linux" -G "$generator" \
    -DCMAKE_PREFIX_PATH="$work/install-linux" >"$work/hello-linux.log" 2>&1 || { cat "$work/hello-linux.log"; fail "configure (Linux) failed"; }
cmake --build "$work/hello-linux" >>"$work/hello-linux.log" 2>&1 || { cat "$work/hello-linux.log"; fail "build (Linux) failed"; }
(cd "$source_dir" && env -u DISPLAY bash tools/run-app.sh "$work/hello-linux/hello" Hello "$work/hello.png") ||
    fail "hello did not run"
[ -s "$work/hello.png" ] || fail "hello showed no picture"

# Windows: the MinGW build of the toolkit, installed, and the example cross-compiled against it.
source "$source_dir/tools/wine-session.sh"
command -v i686-w64-mingw32-g++ >/dev/null || fail "MinGW is missing: run tools/install-deps.sh"
windows_build=$linux_build/windows
wine_build "$windows_build" toolkit toolkit_platform_win32 vq_util
cmake --install "$windows_build" --prefix "$work/install-windows" >"$work/install-windows.log" || fail "install (Windows) failed"
cmake -S "$source_dir/examples/hello" -B "$work/hello-windows" -G "$generator" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" \
    -DVelquist_DIR="$work/install-windows/lib/cmake/Velquist" >"$work/hello-windows.log" 2>&1 ||
    { cat "$work/hello-windows.log"; fail "configure (Windows) failed"; }
cmake --build "$work/hello-windows" >>"$work/hello-windows.log" 2>&1 || { cat "$work/hello-windows.log"; fail "build (Windows) failed"; }
[ -f "$work/hello-windows/hello.exe" ] || fail "no hello.exe"
echo "installed-package: hello built for Linux (ran it: $work/hello.png) and for Windows ($work/hello-windows/hello.exe)"
