#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with.
# Does nothing (quickly) when all of them are already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang clang-format libclang-rt-14-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev liblz4-dev libfreetype-dev libfontconfig-dev fonts-nanum
    xvfb x11-utils xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
