#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed programs start
# and find their resources without being told where they are.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
unset MERVEX_PROGRAM_DIR
export QT_QPA_PLATFORM=offscreen
# Settings.ini twice: the administrator's copy in PREFIX/etc/mervex, the defaults in share.
for f in bin/mervex bin/mervex-cli etc/mervex/Settings.ini share/mervex/Settings.ini \
    share/applications/mervex.desktop share/icons/hicolor/256x256/apps/mervex.png \
    share/mervex/Help/MervexHlp_f.html share/mervex/Help/HazemarkHlp_f.html \
    share/mervex/Help/MervexHlp_e.html share/mervex/Help/HazemarkHlp_e.html; do
    [ -e "$prefix/$f" ] || { echo "missing $f"; exit 1; }
done
# grep reads the whole help: -q would leave at the first match and the program die of SIGPIPE
"$prefix/bin/mervex-cli" --help | grep "usage: mervex-cli" >/dev/null
lines=$("$prefix/bin/mervex-cli" strings | wc -l)
[ "$lines" -ge 226 ] || { echo "strings printed $lines lines"; exit 1; }
echo "installed programs start and find share/mervex"
