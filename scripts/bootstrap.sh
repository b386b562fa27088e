#!/usr/bin/env bash
# Installs the Debian packages Verbanta builds, tests and runs with.
# Idempotent: the package manager is only called when something is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev qt6-translations-l10n
    libmpv-dev libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev
    nlohmann-json3-dev libcli11-dev
    xvfb xauth libgl1-mesa-dri libegl-mesa0
    ffmpeg fonts-nanum
    # the spelling check and its Korean and English dictionaries
    libhunspell-dev hunspell-ko hunspell-en-us
    # the icon, the manual pages and the Debian package with its checks
    librsvg2-bin help2man dpkg-dev file desktop-file-utils appstream lintian
    # the Windows build of the core, its tests and the CLI: the cross compiler (its posix
    # threading variant), GoogleTest's sources to build for it, and Wine to run them
    g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix googletest wine wine64
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

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
