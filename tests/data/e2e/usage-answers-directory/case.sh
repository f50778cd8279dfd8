# An answers file that is a directory is refused, not read as empty.
files=(tests/data/e2e/build-ok/kb.qvb)
args=(consult kb.qvb --answers .)
