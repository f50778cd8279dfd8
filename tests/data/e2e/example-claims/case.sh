# The claims batch over an SQLite database made from the example's script:
# only open claims are screened, a key with a quote finds its record, and the
# verdicts are stored as numbers.
files=(examples/claims.qvb examples/claims.sql)
args=(consult claims.qvb)
prepare() { sqlite3 claims.db <claims.sql; }
collect() {
    sqlite3 -separator ' ' claims.db \
        "select claim_id, suspicious, typeof(suspicious), fast_track, typeof(fast_track) from verdicts order by rowid" \
        >verdicts.txt
}
