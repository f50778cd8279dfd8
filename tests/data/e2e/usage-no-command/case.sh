files=()
args=()
