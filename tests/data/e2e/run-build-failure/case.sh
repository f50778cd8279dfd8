# A knowledge base that does not build: its lines on standard error, no
# result lines, exit status 1.
files=(tests/data/e2e/build-compile-error/kb.qvb)
args=(run kb.qvb --cases -)
stdin=cases.jsonl
