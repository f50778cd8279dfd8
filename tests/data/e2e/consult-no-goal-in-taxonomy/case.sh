files=(tests/data/e2e/consult-no-goal-in-taxonomy/kb.qvb tests/data/e2e/consult-no-goal-in-taxonomy/kb.answers)
args=(consult kb.qvb --answers kb.answers)
