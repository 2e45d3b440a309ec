-- A source table name holding a NUL character: the object whose queries
-- would carry it fails with an error that shows the value (a query is never
-- cut short at the NUL); the other objects are written.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '002'), ('TAPP', 'ab', 'cde', '003');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'V', '', NULL, 's', 0),
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'V', '', NULL, 's' || char(0) || ''' or ''1''=''1', 0),
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'V', '', NULL, 's', 0);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '001', 'item', 1, '', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'item', 1, '', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '003', 'item', 1, '', NULL, 0, 'N', 'N');
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT mprf, vers, rele, cust, tcpac, tcmod, tflno, 'item', '1', 0, 1 FROM qxmap120;
