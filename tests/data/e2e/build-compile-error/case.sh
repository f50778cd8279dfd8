files=(tests/data/e2e/build-compile-error/kb.qvb)
args=(consult kb.qvb --json result.json)
