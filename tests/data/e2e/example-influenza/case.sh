files=(examples/influenza.qvb examples/influenza.answers)
args=(consult influenza.qvb --answers influenza.answers)
