#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds, starting from its seed corpus; new inputs
# go to a scratch folder so the committed corpus only changes on purpose.
set -euo pipefail
target=$1
corpus=$2
seconds=${3:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$corpus"
export QT_QPA_PLATFORM=offscreen
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" "$corpus" 2>&1 | tail -n 25
