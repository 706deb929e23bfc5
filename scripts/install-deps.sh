#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
# Idempotent: a machine that has everything installs nothing and needs no network.
set -euo pipefail

packages=(
    cmake g++ make pkg-config ccache
    qt6-base-dev qt6-serialport-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core python3-xlrd python3-openpyxl poppler-utils
    libxlsxwriter-dev qt6-svg-dev
    xvfb xauth xdotool imagemagick
    qt6-translations-l10n
    clang libclang-rt-14-dev
    dpkg-dev file lintian appstream desktop-file-utils man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all ${#packages[@]} packages present"
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
else
    echo "install-deps: missing ${missing[*]}; run as root or install sudo" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
