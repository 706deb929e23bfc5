#!/usr/bin/env bash
# Starts the meter emulator and the desktop program pointed at it.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
link="${XDG_RUNTIME_DIR:-/tmp}/mervex-demo-meter"
if [ -x "$bin/mervex-meter-sim" ]; then
    "$bin/mervex-meter-sim" --model "Zentravox" --records 300 --programs 5 --link "$link" &
    sim=$!
    trap 'kill $sim 2>/dev/null || true' EXIT
    for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
    "$bin/mervex" --port "$link"
else
    "$bin/mervex"
fi
