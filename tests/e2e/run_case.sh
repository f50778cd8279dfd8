#!/usr/bin/env bash
# Runs quorvin-cli over one end-to-end case and compares what it produced with
# the case's expected files.
#
#   run_case.sh CLI CASE_DIR SOURCE_ROOT
#
# CASE_DIR/case.sh sets:
#   files=(...)   files to copy into a fresh working directory, as paths from
#                 SOURCE_ROOT (the knowledge base, its answers, ...);
#   args=(...)    the arguments of quorvin-cli, run inside that directory;
#   stdin=NAME    optional: a file of CASE_DIR to feed as standard input
#                 (standard input is empty otherwise);
#   cwd=DIR       optional: a directory, made inside the working directory,
#                 to run quorvin-cli in (the files stay one level up).
# CASE_DIR/expected/ holds the expected results: "status" (the exit status),
# "stdout", optionally "stderr", and any other file, which must exist in the
# working directory with the same name and content. Local times in the `ctime`
# form are replaced by <TIME> before comparing, in every file.
set -uo pipefail

cli=$1
case_dir=$2
root=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvin-e2e-XXXXXX")
trap 'rm -rf "$work"' EXIT

files=()
args=()
stdin=
cwd=.
# shellcheck source=/dev/null
source "$case_dir/case.sh"

for f in "${files[@]}"; do cp "$root/$f" "$work/" || exit 1; done
input=/dev/null
[[ -n "$stdin" ]] && input="$(cd "$case_dir" && pwd)/$stdin"

mkdir -p "$work/$cwd"
(cd "$work/$cwd" && "$cli" "${args[@]}" <"$input" >"$work/.stdout" 2>"$work/.stderr")
echo "$?" >"$work/.status"

mask() {
    sed -E 's/[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}/<TIME>/g' "$1"
}

failed=0
for expected in "$case_dir"/expected/*; do
    name=$(basename "$expected")
    case "$name" in
    status | stdout | stderr) produced="$work/.$name" ;;
    *) produced="$work/$name" ;;
    esac
    if [[ ! -e "$produced" ]]; then
        echo "FAIL: $name was not produced"
        failed=1
        continue
    fi
    if ! diff -u --label "expected/$name" --label "produced/$name" "$expected" <(mask "$produced"); then
        failed=1
    fi
done
if ((failed)); then
    echo "--- stdout of the run:"
    cat "$work/.stdout"
    echo "--- stderr of the run:"
    cat "$work/.stderr"
fi
exit "$failed"
