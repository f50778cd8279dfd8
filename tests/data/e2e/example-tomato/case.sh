files=(examples/tomato.qvb examples/tomato.answers)
args=(consult tomato.qvb --answers tomato.answers --json result.json)
