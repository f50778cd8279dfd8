# Goals of equal value come in the same order in every line, whatever the
# lines before left: the refused case (every goal at its prior, three of them
# at 0.1) gives the same goals before and after a case that moved them, so
# that a stream split over several programs gives the same lines.
files=(examples/car.qvb tests/data/e2e/run-cases-equal-values/cases.jsonl)
args=(run car.qvb --cases cases.jsonl)
