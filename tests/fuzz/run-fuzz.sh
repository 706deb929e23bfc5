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
mkdir -p "$corpus" "$artifacts" "$work/corpus"
export QT_QPA_PLATFORM=offscreen
status=0
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work/corpus" "$corpus" >"$work/log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 80 "$work/log"
    exit "$status"
fi
# The last progress line carries coverage and features, the final stats the executions.
grep -E '^#[0-9]+' "$work/log" | tail -n 1 || true
grep -E '^(Done|stat::)' "$work/log" || true
