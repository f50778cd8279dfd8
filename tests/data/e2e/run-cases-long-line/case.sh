# A line longer than the stream takes (1 MiB) is dropped as invalid, and
# the next line is consulted as usual.
files=(examples/car.qvb)
args=(run car.qvb --cases cases.jsonl)
prepare() {
    {
        printf '{"id": "long", "answers": {"engine_cranks": "'
        head -c 1100000 /dev/zero | tr '\0' 'y'
        printf '"}}\n{"id": "next", "answers": {"engine_cranks": "n"}}\n'
    } >cases.jsonl
}
