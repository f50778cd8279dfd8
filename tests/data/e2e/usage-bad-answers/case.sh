files=(tests/data/e2e/build-ok/kb.qvb tests/data/e2e/usage-bad-answers/kb.answers)
args=(consult kb.qvb --answers kb.answers)
