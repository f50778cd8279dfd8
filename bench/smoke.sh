#!/usr/bin/env bash
# Runs every benchmark once at its smallest size, so that they keep building
# and running; the figures mean nothing here.
#
#   bench/smoke.sh QUORVIN_BENCH
set -euo pipefail
bench=$1
# The first instance of each benchmark is its smallest size.
first=$("$bench" --benchmark_list_tests | awk -F/ '!seen[$1]++')
count=$(wc -l <<<"$first")
pattern="^($(sed 's/[][\\.^$*+?(){}|]/\\&/g' <<<"$first" | paste -sd'|'))\$"
"$bench" --benchmark_filter="$pattern" --benchmark_min_time=0.001 --benchmark_format=json 2>/dev/null |
    python3 -c '
import json, sys
expected = int(sys.argv[1])
runs = json.load(sys.stdin)["benchmarks"]
failed = [run["name"] + ": " + run.get("error_message", "") for run in runs if run.get("error_occurred")]
names = {run["name"] for run in runs}
if failed or len(names) != expected:
    print("bench smoke: %d of %d benchmarks ran; failed: %s" % (len(names), expected, failed), file=sys.stderr)
    sys.exit(1)
print("bench smoke: all %d benchmarks ran" % expected)
' "$count"
