# The sample's answers as one case on standard input, with explanations:
# the goals equal those of the console's JSON for the same answers.
files=(examples/car.qvb)
args=(run car.qvb --cases - --explain)
stdin=cases.jsonl
# The knowledge base asks for a text report; a stream writes none.
collect() { ls >files; }
