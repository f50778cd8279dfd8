# A knowledge base of 4 GiB and 200 bytes (a sparse file, which takes no room
# on the disk) is refused on its size like an unreadable file, not built as
# its first 200 bytes.
files=()
args=(consult big.qvb --json result.json)
prepare() {
    printf 'nodes {\n  A { (bayesian, 0.5, goal) }\n}\n' >big.qvb
    truncate -s 4294967496 big.qvb
}
