-- Objects whose data cannot be used fail one by one; the run goes on:
-- a field name that is not valid UTF-8, a null mandatory flag, a table
-- number that would leave the output folder, a module code with a slash.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '002'), ('TAPP', 'ab', 'cde', '0/1'),
  ('TAPP', 'ab', 'cd/', '003'), ('TAPP', 'ab', 'cde', '004');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'V', '', NULL, 's', 0),
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'V', '', NULL, 's', 0),
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '0/1', 'V', '', NULL, 's', 0),
  (1, 'V1', '01', 'CUS1', 'ab', 'cd/', '003', 'V', '', NULL, 's', 0),
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '004', 'V', 'Café crème: 5 € ≥ 4', NULL, 's', 0);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '001', CAST(X'FF6974656D' AS TEXT), 1, '', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'item', 1, '', NULL, 0, NULL, 'N'),
  ('TAPP', 'ab', 'cde', '0/1', 'item', 1, '', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cd/', '003', 'item', 1, '', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '004', 'item', 1, '', NULL, 0, 'N', 'N');

-- Every conversion object maps its first field in dump 1.
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT mprf, vers, rele, cust, tcpac, tcmod, tflno, 'item', '1', 0, 1 FROM qxmap120;
