files=(examples/car.qvb examples/car.answers)
args=(consult car.qvb --answers car.answers --json result.json)
