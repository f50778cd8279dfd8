# A zero byte in an answers file does not cut the answer short ("3" would be
# taken): the answer is refused and the question reads the terminal.
files=(tests/data/e2e/build-ok/kb.qvb tests/data/e2e/consult-answer-zero-byte/kb.answers)
args=(consult kb.qvb --answers kb.answers)
stdin=typed
