files=(tests/data/e2e/build-ok/kb.qvb)
args=(lsp kb.qvb)
