files=(tests/data/e2e/consult-batch-blank-line/kb.qvb tests/data/e2e/consult-batch-blank-line/cases.txt
       tests/data/e2e/consult-batch-blank-line/out.txt)
args=(consult kb.qvb)
