files=(tests/data/e2e/build-consistency-failure/kb.qvb)
args=(build kb.qvb)
