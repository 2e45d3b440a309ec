-- Profile 5 is checked out as V9-02-CO1. Status C is accepted besides the
-- configured M; a table without a row in the checked-out version falls back
-- to the profile's own version.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (5, 'SAPP', 'TAPP', 'V5', '01', 'CUS5', '', '', '', 1, 'Y');
INSERT INTO qxmap105 (mprf, dver, drel, dcus) VALUES (5, 'V9', '02', 'CO1');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '002'), ('TAPP', 'ab', 'cde', '003');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (5, 'V9', '02', 'CO1', 'ab', 'cde', '001', 'C', 'checked out', NULL, 's', 0),
  (5, 'V5', '01', 'CUS5', 'ab', 'cde', '001', 'M', 'profile version', NULL, 's', 0),
  (5, 'V5', '01', 'CUS5', 'ab', 'cde', '002', 'M', 'profile version', NULL, 's', 0),
  (5, 'V5', '01', 'CUS5', 'ab', 'cde', '003', 'V', 'not selected', NULL, 's', 0);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '001', 'item', 1, '', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'item', 1, '', NULL, 0, 'N', 'N');

-- Every conversion object maps its first field in dump 1.
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT mprf, vers, rele, cust, tcpac, tcmod, tflno, 'item', '1', 0, 1 FROM qxmap120;
