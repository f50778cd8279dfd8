files=(tests/data/e2e/consult-batch/kb.qvb tests/data/e2e/consult-batch/kb.answers
       tests/data/e2e/consult-batch/cases.txt tests/data/e2e/consult-batch/out.txt)
cwd=elsewhere
args=(consult ../kb.qvb --answers ../kb.answers --json result.json)
