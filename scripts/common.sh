#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what a fresh Debian 12 machine lacks, then configures and
# builds. Source it; it defines functions only.

CORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CORVANE_BUILD_DIR="${CORVANE_BUILD_DIR:-$CORVANE_ROOT/build}"

CORVANE_PACKAGES=(
    build-essential cmake pkg-config ccache git
    juce-modules-source juce-tools
    libasound2-dev libfreetype-dev libfontconfig1-dev libx11-dev libxext-dev libxinerama-dev
    libxrandr-dev libxcursor-dev libxcomposite-dev libgl-dev libpng-dev libjpeg-dev libflac-dev
    libfftw3-dev libgtest-dev libbenchmark-dev
    xvfb xauth
)

corvane_install_missing_packages()
{
    local missing=()
    local package
    for package in "${CORVANE_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

corvane_build()
{
    cmake -S "$CORVANE_ROOT" -B "$CORVANE_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$CORVANE_BUILD_DIR" --parallel "$(nproc)" "$@"
}
