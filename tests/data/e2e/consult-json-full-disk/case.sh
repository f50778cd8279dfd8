# The result cannot be written (a full device): the run says so and fails.
files=(examples/car.qvb examples/car.answers)
args=(consult car.qvb --answers car.answers --json /dev/full)
