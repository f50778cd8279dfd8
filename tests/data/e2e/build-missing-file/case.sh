files=()
args=(consult missing.qvb --json result.json)
