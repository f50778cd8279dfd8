files=(tests/data/e2e/consult-net-report/kb.qvb tests/data/e2e/consult-net-report/kb.answers)
args=(consult kb.qvb --answers kb.answers)
