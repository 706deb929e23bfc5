#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds, starting from its seed corpus; new inputs
# go to a scratch folder so the committed corpus only changes on purpose. A crashing input
# is kept in FUZZ_ARTIFACTS (default: fuzz-artifacts in the current folder).
set -euo pipefail
target=$1
corpus=$2
seconds=${3:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=${FUZZ_ARTIFACTS:-$PWD/fuzz-artifacts}
mkdir -p "$corpus" "$artifacts"
export QT_QPA_PLATFORM=offscreen
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "$corpus" 2>&1 | tail -n 25
