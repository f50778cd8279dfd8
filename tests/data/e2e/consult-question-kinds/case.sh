files=(tests/data/e2e/consult-question-kinds/kb.qvb)
args=(consult kb.qvb --json result.json)
stdin=typed
