files=(tests/data/e2e/consult-abort/kb.qvb tests/data/e2e/consult-abort/kb.answers)
args=(consult kb.qvb --answers kb.answers --json result.json)
