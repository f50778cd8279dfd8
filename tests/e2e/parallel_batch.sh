#!/usr/bin/env bash
# A batch split into jobs (consult --jobs N) against the same batch in one
# process:
#   - every output is the same: relational and name-value text files, the
#     engine table's rows in key order, the report apart from its times, the
#     program's output and exit status, for several numbers of jobs;
#   - Ctrl+C in the middle stops the run as aborted, and the relational
#     output holds a prefix of the one-process rows, whole rows only;
#   - Ctrl+C to one process stops its batch after the case as well, with
#     the same cases in every output;
#   - a job that is killed fails the run (exit status 2) with a message
#     saying where the outputs end, and they hold a prefix too;
#   - a batch that asks the user is consulted in one process, from the
#     terminal's answers, as --jobs 1 would;
#   - no file of a job is left behind.
#
#   parallel_batch.sh CLI DATA_DIR
set -uo pipefail

cli=$(realpath "$1")
data=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvin-parallel-XXXXXX")
trap '[[ -n ${KEEP:-} ]] || rm -rf "$work"' EXIT
# The jobs' own folder goes here, to see that it is removed.
export TMPDIR=$work/tmp
mkdir "$TMPDIR"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# cases.tsv with $1 rows; some readings left out ("?").
make_cases() {
    awk -v n="$1" 'BEGIN { srand(7); print "id\tfever\tcough\tache";
        for (i = 1; i <= n; i++)
            printf "c%06d\t%.3f\t%d\t%s\n", i, rand(), int(rand() * 11) - 5, (i % 97 == 0 ? "?" : sprintf("%.2f", rand())) }'
}

# A fresh folder $1 with the knowledge base $2, $3 cases, the outputs empty.
setup() {
    mkdir -p "$1"
    cp "$data/$2" "$1/kb.qvb"
    make_cases "$3" >"$1/cases.tsv"
    printf 'id\tflu\tcold\n' >"$1/rows.tsv"
    sqlite3 "$1/out.db" "create table verdicts (id text, flu real, cold real, other text)"
}

# What a run left, in a form to compare: files as they are, times masked,
# the engine table dumped.
summarize() {
    (
        cd "$1" || exit 1
        sqlite3 out.db "select * from verdicts order by rowid" >dump.txt
        sed -E 's/[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9:]{8} [0-9]{4}/<TIME>/' report.txt >report.masked
        rm -f report.txt out.db
        ls -A >listing.txt
    )
}

# 1. The same outputs for 1, 2, 3 and 7 jobs.
setup "$work/one" kb.qvb 120
(cd "$work/one" && "$cli" consult kb.qvb --jobs 1 >stdout.txt 2>stderr.txt; echo $? >status.txt)
summarize "$work/one"
[[ $(wc -l <"$work/one/rows.tsv") -eq 121 ]] || fail "one process wrote $(wc -l <"$work/one/rows.tsv") lines"
for jobs in 2 3 7; do
    setup "$work/jobs$jobs" kb.qvb 120
    (cd "$work/jobs$jobs" && "$cli" consult kb.qvb --jobs "$jobs" >stdout.txt 2>stderr.txt; echo $? >status.txt)
    summarize "$work/jobs$jobs"
    diff -r "$work/one" "$work/jobs$jobs" || fail "$jobs jobs: outputs differ from one process"
done

# The big batch of the stop and kill cases, in one process first.
setup "$work/whole" kb.qvb 40000
sed -i '/odbbde\|odbbdetable\|prottxt\|odbtxttab/d' "$work/whole/kb.qvb"
(cd "$work/whole" && "$cli" consult kb.qvb --jobs 1 >/dev/null 2>&1)

# Starts a two-job run over the big batch in $1 and waits until its first
# job has written some rows; the run's process id is in `run`.
start_big_run() {
    setup "$1" kb.qvb 40000
    cp "$work/whole/kb.qvb" "$1/kb.qvb"
    (cd "$1" && exec "$cli" consult kb.qvb --jobs 2 >stdout.txt 2>stderr.txt) &
    run=$!
    for _ in $(seq 1 1000); do
        [[ -f "$1/rows.tsv.job-1-of-2" && $(wc -l <"$1/rows.tsv.job-1-of-2") -gt 20 ]] && return 0
        sleep 0.01
    done
    fail "$1: the first job wrote no rows"
}

# Whether the rows of $1 are a proper prefix of the one-process rows, with
# whole rows only.
check_prefix() {
    local rows lines
    rows=$1/rows.tsv
    lines=$(wc -l <"$rows")
    [[ $lines -gt 1 && $lines -lt 40001 ]] || fail "$rows: $lines lines, not a part of the batch"
    head -n "$lines" "$work/whole/rows.tsv" | cmp -s - "$rows" || fail "$rows: not a prefix of the one-process rows"
    awk -F'\t' 'NF != 3 { bad = 1 } END { exit bad }' "$rows" || fail "$rows: a row with a wrong number of fields"
    ls "$1" | grep -q 'job-' && fail "$1: a job's file was left: $(ls "$1" | grep 'job-')"
}

# Sends Ctrl+C (SIGINT) to the run and checks that it ended as aborted,
# with a prefix of the rows, in $1.
stop_run() {
    kill -INT "$run"
    wait "$run"
    local status=$?
    [[ $status -eq 2 ]] || fail "$1: exit status $status, expected 2"
    tail -n 1 "$1/stdout.txt" | grep -qx 'Status: Consultation aborted.' ||
        fail "$1: last line $(tail -n 1 "$1/stdout.txt")"
    check_prefix "$1"
}

# 2. Ctrl+C in the middle.
start_big_run "$work/stopped"
stop_run "$work/stopped"

# 2b. Ctrl+C to one process: the batch stops after its case too, and the
# engine table holds exactly the cases of the relational rows.
setup "$work/alone" kb.qvb 40000
(cd "$work/alone" && exec "$cli" consult kb.qvb --jobs 1 >stdout.txt 2>stderr.txt) &
run=$!
for _ in $(seq 1 1000); do
    [[ $(wc -l <"$work/alone/rows.tsv") -gt 20 ]] && break
    sleep 0.01
done
stop_run "$work/alone"
cmp -s <(tail -n +2 "$work/alone/rows.tsv" | cut -f1) <(sqlite3 "$work/alone/out.db" "select id from verdicts order by rowid") ||
    fail "stopped process: the engine table holds other cases than the rows"

# 3. A job killed in the middle.
start_big_run "$work/killed"
pkill -KILL -f -- "--job-part 2/2/" || fail "no second job to kill"
wait "$run"
status=$?
[[ $status -eq 2 ]] || fail "killed job: exit status $status, expected 2"
grep -q 'Job 2 of 2 (cases 20001 to 40000) was ended by signal 9 after [0-9]* cases; the outputs end before case' \
    "$work/killed/stderr.txt" || fail "killed job: no message; stderr: $(cat "$work/killed/stderr.txt")"
check_prefix "$work/killed"

# 4. A batch that asks: consulted in one process, reading the answers.
for jobs in 1 2; do
    setup "$work/asks$jobs" asks.qvb 5
    (cd "$work/asks$jobs" && printf '1\n2\n-1\n0\n3\n' | "$cli" consult kb.qvb --jobs "$jobs" >stdout.txt 2>stderr.txt
        echo $? >status.txt)
done
diff -r "$work/asks1" "$work/asks2" || fail "a batch that asks: --jobs 2 differs from --jobs 1"
[[ $(wc -l <"$work/asks2/rows.tsv") -eq 6 ]] || fail "a batch that asks: $(wc -l <"$work/asks2/rows.tsv") lines"

[[ -z $(ls -A "$TMPDIR") ]] || fail "the jobs' folder was left: $(ls -A "$TMPDIR")"
[[ $failures -eq 0 ]] && echo "parallel batch: all checks passed"
exit $((failures > 0))
