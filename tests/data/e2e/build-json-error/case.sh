# A misspelt node in a rule: the detail line names it and its column, and
# the JSON gives the same to an editor.
files=(tests/data/e2e/build-json-error/kb.qvb)
args=(build kb.qvb --json build.json)
