#!/usr/bin/env bash
# One short fuzz run for CTest: HARNESS fuzzes a temporary copy of CORPUS
# for SECONDS (the repository is never written), with fuzz/at.dict. Fails
# on any crash, leak, sanitizer report, time-out or broken property; the
# input that did it is kept in FINDINGS.
# Usage: run_ci.sh HARNESS CORPUS SECONDS FINDINGS
set -euo pipefail
harness=$1 corpus=$2 seconds=$3 findings=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$findings"
cp -R "$corpus/." "$work/corpus/"
name=$(basename "$harness")
status=0
"$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -dict="$here/at.dict" \
    -print_final_stats=1 -artifact_prefix="$findings/$name-" "$work/corpus" >"$work/log" 2>&1 || status=$?
grep -E '^(INFO: Seed|#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|Done [0-9]+ runs)' "$work/log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/log"
    echo "$name: finding (exit $status); the input is in $findings"
fi
exit "$status"
