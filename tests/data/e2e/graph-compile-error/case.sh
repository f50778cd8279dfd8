# A knowledge base that does not compile: the build lines, no picture.
files=(tests/data/e2e/build-compile-error/kb.qvb)
args=(graph kb.qvb -o kb.svg)
collect() { [[ ! -e kb.svg ]] && echo "no picture" > picture; }
