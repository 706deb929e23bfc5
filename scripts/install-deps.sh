#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
# Idempotent: a machine that has everything installs nothing and needs no network.
#
#   install-deps.sh           what building, running and packaging the programs needs
#                             (make demo, make build, make package)
#   install-deps.sh --tests   that, plus what the tests, fuzzers and benchmarks add (make test)
set -euo pipefail

# Building and running the programs. zlib1g-dev: libxlsxwriter links -lz, yet its -dev
# package does not depend on it. Fonts: a minimal system has none, and windows and
# printouts need one. dpkg-dev, file and lintian: make package.
build_packages=(
    cmake g++ make pkg-config ccache
    qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-translations-l10n
    libqt6sql6-sqlite libqt6sql6-psql
    libxlsxwriter-dev zlib1g-dev
    fonts-dejavu-core
    dpkg-dev file lintian
)

# What the tests add: GoogleTest and Google Benchmark, the readers that check our files
# (xlrd, openpyxl, poppler), clang for the fuzz targets, the package checks' validators and
# the archive tests' database server, `sqlite3` for the archive benchmark's floor and GNU
# `time` for the peak memory of the programs it runs.
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    python3-xlrd python3-openpyxl poppler-utils
    clang libclang-rt-14-dev
    appstream desktop-file-utils man-db groff-base
    postgresql sqlite3 time
)

packages=("${build_packages[@]}")
case "${1:-}" in
"") ;;
--tests) packages+=("${test_packages[@]}") ;;
*)
    echo "usage: install-deps.sh [--tests]" >&2
    exit 2
    ;;
esac

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
