# The pump batch over a relational tab file: one row appended per pump.
files=(examples/pumps.qvb examples/pumps-readings.tsv examples/pumps-verdicts.tsv)
args=(consult pumps.qvb)
