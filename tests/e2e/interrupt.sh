#!/usr/bin/env bash
# Ctrl+C while a question waits aborts the consultation: the reports are
# written (twice: at the abort and when the consultation has stopped), the
# status is "Consultation aborted." and the exit status 2.
#
#   interrupt.sh CLI KNOWLEDGE_BASE
set -uo pipefail

cli=$1
kb=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvin-e2e-XXXXXX")
holder=
cleanup() {
    [[ -n "$holder" ]] && kill "$holder" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

cp "$kb" "$work/kb.qvb"
cd "$work" || exit 1
mkfifo input
# Keeps the question waiting: the pipe stays open and never delivers a line.
sleep 120 >input &
holder=$!

"$cli" consult kb.qvb --json result.json <input >out.txt 2>err.txt &
pid=$!

for _ in $(seq 1 200); do
    grep -q '^>' out.txt 2>/dev/null && break
    sleep 0.05
done
if ! grep -q '^>' out.txt; then
    echo "FAIL: no question was asked"
    cat out.txt err.txt
    exit 1
fi
kill -INT "$pid"
wait "$pid"
status=$?

failed=0
check() {
    if ! eval "$1"; then
        echo "FAIL: $2"
        failed=1
    fi
}
check '[[ $status -eq 2 ]]' "exit status $status, expected 2"
check 'grep -qx "Status: Consultation aborted." out.txt' "no aborted status"
reports=$(ls ./*report*.txt 2>/dev/null | head -1)
check '[[ -n "$reports" ]]' "no text report"
check '[[ $(grep -c "^CONSULTATION REPORT" "$reports") -eq 2 ]]' "not two reports"
check 'grep -q "Status:   consulted ok" "$reports"' "the first report is not in the completed form"
check 'grep -q "Status:   aborted" "$reports"' "the second report is not an aborted one"
check 'grep -q "\"status\": \"aborted\"" result.json' "the JSON status is not aborted"
if ((failed)); then
    cat out.txt err.txt
fi
exit "$failed"
