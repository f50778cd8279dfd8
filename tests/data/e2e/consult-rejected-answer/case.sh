files=(tests/data/e2e/consult-rejected-answer/kb.qvb tests/data/e2e/consult-rejected-answer/kb.answers)
args=(consult kb.qvb --answers kb.answers --json result.json)
stdin=typed
