-- An explicit list with blanks around its codes: the blanks do not count,
-- every listed table is selected.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '002'), ('TAPP', 'fg', 'hij', '400'),
  ('TAPP', 'zz', 'zzz', '001');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'V', '', NULL, 's', 0),
  (1, 'V1', '01', 'CUS1', 'fg', 'hij', '400', 'V', '', NULL, 's', 0);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '001', 'item', 1, '', NULL, 0, 'N', 'N'),
  ('TAPP', 'fg', 'hij', '400', 'item', 1, '', NULL, 0, 'N', 'N');

-- Every conversion object maps its first field in dump 1.
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT mprf, vers, rele, cust, tcpac, tcmod, tflno, 'item', '1', 0, 1 FROM qxmap120;
