files=()
args=(--help)
