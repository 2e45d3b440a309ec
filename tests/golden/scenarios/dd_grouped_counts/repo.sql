-- 1,001 tables and a profile of depth 0: no lookups, every table warned.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 0, 'N');
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999)
INSERT INTO qxddi140 (appl, cpac, cmod, flno) SELECT 'TAPP', 'ab', 'cde', printf('%03d', i) FROM n;
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '999');
