# The explanation commands typed at questions, between answers.
files=(examples/car.qvb)
args=(consult car.qvb)
stdin=typed
