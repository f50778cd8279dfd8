files=(tests/data/e2e/consult-cycle/kb.qvb)
args=(consult kb.qvb --json result.json)
