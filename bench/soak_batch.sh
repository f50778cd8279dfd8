#!/usr/bin/env bash
# Soak test of a long batch run: memory must not grow with the number of
# cases. Not part of CI; see bench/README.md.
#
#   bench/soak_batch.sh [CLI] [CASES...]
#
# CLI defaults to build/dev/cli/quorvin-cli, CASES to 10000 100000 1000000.
# For every count the script writes a relational tab file of that many pumps
# for a copy of examples/pumps.qvb, runs `quorvin-cli consult` on it under
# /usr/bin/time, and samples the process's resident set (VmRSS) together
# with the number of verdict rows written so far. It prints, per count, the
# time, the peak resident set and the resident set at 10% and at the end of
# the run, and from the two largest counts the memory that one more input
# row costs. Work files go to a temporary directory (SOAK_DIR to keep them).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/dev/cli/quorvin-cli}
shift || true
counts=("$@")
((${#counts[@]})) || counts=(10000 100000 1000000)
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
[[ -x "$cli" ]] || { echo "soak_batch.sh: no program at $cli" >&2; exit 64; }

work=${SOAK_DIR:-$(mktemp -d "${TMPDIR:-/tmp}/quorvin-soak-XXXXXX")}
mkdir -p "$work"
[[ -n "${SOAK_DIR:-}" ]] || trap 'rm -rf "$work"' EXIT

# The pumps of the weekly round, made up: readings cycle through values that
# reach every translator's range, with readings not taken ("?") here and there.
write_readings() {
    awk -v n="$1" 'BEGIN {
        OFS = "\t"
        split("1.2 2.1 3.3 5.2 7.9 8.4 12", vib, " ")
        split("8 12 18 30 48 ? 70", temp, " ")
        split("no n yes y 0 3 -2 ?", cf, " ")
        split("0.05 0.1 0.2 0.9 ? 0.5", prob, " ")
        split("1 2 3 a b c ?", choice, " ")
        print "pump", "high_vibration", "hot_bearing", "gravel_noise", "low_suction", "coupling_out", "seal_leak"
        for (i = 0; i < n; ++i)
            printf "P-%07d\t%s\t%s\t%s\t%s\t%s\t%s\n", i, vib[i % 7 + 1], temp[i % 7 + 1], cf[i % 8 + 1],
                   prob[i % 6 + 1], choice[i % 7 + 1], cf[(i / 8) % 8 + 1]
    }' >"$2"
}

# Runs one batch of $1 cases in $2; prints "seconds peakKiB rss10KiB endKiB".
run_batch() {
    local n=$1 dir=$2
    mkdir -p "$dir"
    sed -e 's/pumps-readings\.tsv/soak-readings.tsv/' -e 's/pumps-verdicts\.tsv/soak-verdicts.tsv/' \
        -e 's/pumps-report\.txt/soak-report.txt/' "$root/examples/pumps.qvb" >"$dir/soak.qvb"
    write_readings "$n" "$dir/soak-readings.tsv"
    head -1 "$root/examples/pumps-verdicts.tsv" >"$dir/soak-verdicts.tsv"
    : >"$dir/samples"

    (cd "$dir" && exec /usr/bin/time -v -o time.txt "$cli" consult soak.qvb </dev/null >stdout.txt 2>stderr.txt) &
    local runner=$!
    local pid=
    while [[ -z "$pid" ]] && kill -0 "$runner" 2>/dev/null; do
        pid=$(pgrep -P "$runner" || true)
        sleep 0.05
    done
    # Samples: cases done (verdict rows), resident KiB.
    while [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; do
        local rss
        rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
        [[ -n "$rss" ]] && echo "$(($(wc -l <"$dir/soak-verdicts.tsv") - 1)) $rss" >>"$dir/samples"
        sleep "${SOAK_INTERVAL:-0.5}"
    done
    wait "$runner" || { echo "soak_batch.sh: quorvin-cli failed for $n cases:" >&2; cat "$dir/stderr.txt" >&2; return 1; }
    local written=$(($(wc -l <"$dir/soak-verdicts.tsv") - 1))
    ((written == n)) || { echo "soak_batch.sh: $written verdict rows for $n cases" >&2; return 1; }

    local seconds peak
    seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ { split($2, t, ":"); s = 0
                                                     for (i = 1; i <= length(t); ++i) s = s * 60 + t[i]; print s }' \
              "$dir/time.txt")
    peak=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$dir/time.txt")
    # The resident set once a tenth of the cases is done (the index and the
    # keys are in memory by then), and at the last sample.
    awk -v n="$n" -v seconds="$seconds" -v peak="$peak" '
        $1 >= n / 10 && at10 == "" { at10 = $2 }
        { last = $2 }
        END { print seconds, peak, (at10 == "" ? "-" : at10), (last == "" ? "-" : last) }' "$dir/samples"
}

printf '%10s %10s %12s %14s %14s %12s\n' cases seconds "peak KiB" "RSS@10% KiB" "RSS@end KiB" "input bytes"
declare -A peaks
for n in "${counts[@]}"; do
    result=$(run_batch "$n" "$work/$n")
    read -r seconds peak at10 last <<<"$result"
    peaks[$n]=$peak
    printf '%10d %10s %12s %14s %14s %12d\n' "$n" "$seconds" "$peak" "$at10" "$last" \
        "$(stat -c %s "$work/$n/soak-readings.tsv")"
    if [[ "$at10" != - && "$last" != - ]]; then
        growth=$((last - at10))
        echo "           growth from 10% of the cases to the end: $growth KiB" \
             "($(awk -v g="$growth" -v n="$n" 'BEGIN { printf "%.3f", g * 1024 / (0.9 * n) }') bytes per case)"
    fi
done

if ((${#counts[@]} >= 2)); then
    small=${counts[-2]} big=${counts[-1]}
    echo "peak memory per input row ($small -> $big cases):" \
         "$(awk -v a="${peaks[$small]}" -v b="${peaks[$big]}" -v m="$small" -v n="$big" \
                'BEGIN { printf "%.0f", (b - a) * 1024 / (n - m) }') bytes"
fi
