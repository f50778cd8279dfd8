-- The claims database of the claims-pg.qvb example, on PostgreSQL. Create it
-- with
--     createdb quorvin_claims
--     psql -d quorvin_claims -f examples/claims-pg.sql
-- The same claims as claims.sql; the verdicts table receives one row per
-- screened claim, its values stored as numbers.

DROP TABLE IF EXISTS claims;
DROP TABLE IF EXISTS verdicts;

CREATE TABLE claims (
    claim_id      TEXT PRIMARY KEY,
    status        TEXT NOT NULL,
    amount        DOUBLE PRECISION,  -- claimed amount in thousands
    policy_days   DOUBLE PRECISION,  -- days between the start of the policy and the loss
    earlier       DOUBLE PRECISION,  -- claims by the same holder in the last five years
    police_report TEXT,              -- certainty that a police report was filed: -5..5, y or n
    receipts      TEXT               -- 1 originals, 2 copies only, 3 none
);

INSERT INTO claims VALUES ('C-2041', 'open',   1.2,  900, 0, 'y',  '1');
INSERT INTO claims VALUES ('C-2042', 'open',  38.0,   21, 3, 'n',  '3');
INSERT INTO claims VALUES ('C-2043', 'closed', 4.0,  400, 1, 'y',  '1');
INSERT INTO claims VALUES ('C-2044', 'open',  12.5,   95, 1, NULL, '2');
INSERT INTO claims VALUES ('O''Neill-7', 'open', 6.0, 2000, 0, '4', 'a');

CREATE TABLE verdicts (
    claim_id    TEXT,
    suspicious  DOUBLE PRECISION,
    fast_track  DOUBLE PRECISION
);
