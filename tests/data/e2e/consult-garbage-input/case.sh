files=(tests/data/e2e/consult-garbage-input/kb.qvb)
args=(consult kb.qvb --json result.json)
stdin=typed
