files=(tests/data/e2e/build-ok/kb.qvb)
args=(consult kb.qvb --verbose)
