files=(tests/data/e2e/build-ok/kb.qvb)
args=(build kb.qvb)
