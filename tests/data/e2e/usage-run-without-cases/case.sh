# run needs the cases it is to consult.
files=(examples/car.qvb)
args=(run car.qvb --json out.json)
