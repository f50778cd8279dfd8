files=(tests/data/e2e/build-help-page-pipe/kb.qvb)
args=(build kb.qvb)
prepare() { mkfifo flu.html; }
