# A net that fails the check is still drawn, with the check's message.
files=(tests/data/e2e/build-consistency-failure/kb.qvb)
args=(graph kb.qvb)
