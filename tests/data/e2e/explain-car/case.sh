# A consultation followed by how every goal got its value, and the JSON.
files=(examples/car.qvb examples/car.answers)
args=(explain car.qvb --answers car.answers --json result.json)
