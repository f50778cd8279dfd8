files=(examples/loan.qvb examples/loan.answers)
args=(consult loan.qvb --answers loan.answers)
