files=(tests/data/e2e/consult-hostile-links/kb.qvb tests/data/e2e/consult-hostile-links/kb.answers)
args=(consult kb.qvb --answers kb.answers)
prepare() {
    mkdir outside
    printf 'precious\n' > outside/.bashrc
    printf 'header\techo pwned\n' > outside/rows.txt
    sqlite3 outside/victim.db "CREATE TABLE results (header TEXT, a REAL);"
    ln -s outside sub
    ln -s outside/victim.db local.db
}
collect() {
    cp outside/.bashrc victim-bashrc.txt
    cp outside/rows.txt victim-rows.txt
    sqlite3 outside/victim.db "SELECT count(*) FROM results;" > victim-db-rows.txt
}
