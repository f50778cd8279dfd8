# The claims batch over PostgreSQL with no server to reach: the example
# builds, and the run fails with a fault that names the database and gives
# the server's reason. (Its verdicts on a live server are checked by
# tests/language/claims_example_test.cpp.)
files=(examples/claims-pg.qvb)
args=(consult claims-pg.qvb)
export PGHOST=/nonexistent/quorvin-e2e PGUSER=quorvin
