# "-0" in a probability field of a batch's input table, in three spellings.
files=(tests/data/e2e/consult-batch-negative-zero/kb.qvb tests/data/e2e/consult-batch-negative-zero/cases.txt
       tests/data/e2e/consult-batch-negative-zero/out.txt)
args=(consult kb.qvb)
