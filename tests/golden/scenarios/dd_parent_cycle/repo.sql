-- Profiles 7 and 3 each name the other as the version they derive from. The
-- search climbs to 3, comes back to 7 and stops there with the warning.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', 'V0', '01', 'CUS1', 2, 'N'),
  (3, 'SAPP', 'TAPP', 'V0', '01', 'CUS1', 'V1', '01', 'CUS1', 2, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '002');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (3, 'V0', '01', 'CUS1', 'ab', 'cde', '002', 'X', 'x', NULL, 's', 0);
