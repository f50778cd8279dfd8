# A stream of cases, good and bad, over every kind of question: every line
# gives its result line in order and the stream goes on after a bad one.
files=(tests/data/e2e/consult-question-kinds/kb.qvb tests/data/e2e/run-cases-kinds/cases.jsonl)
args=(run kb.qvb --cases cases.jsonl)
