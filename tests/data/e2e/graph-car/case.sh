# The picture of a net after a consultation, as DOT: values, rules, links.
files=(examples/car.qvb examples/car.answers)
args=(graph car.qvb --answers car.answers -o car.dot)
