-- Without traversal the mapping that only the parent profile holds is not
-- found: the lookup is repeated up to the depth, then the warning follows.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', 'V0', '01', 'CUS1', 3, 'N'),
  (3, 'SAPP', 'TAPP', 'V0', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '001');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (3, 'V0', '01', 'CUS1', 'ab', 'cde', '001', 'V', 'x', NULL, 's', 0);
