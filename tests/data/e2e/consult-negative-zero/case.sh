# "-0" answered to a probability, from the answers file (E) and typed (A).
files=(tests/data/e2e/consult-negative-zero/kb.qvb tests/data/e2e/consult-negative-zero/kb.answers)
args=(consult kb.qvb --answers kb.answers --json result.json)
stdin=typed
