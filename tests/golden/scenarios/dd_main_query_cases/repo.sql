-- abcde030: only non-S rows; abcde031: no main query at all (error 120);
-- abcde032: an S row with an empty query (error 121); abcde033: more source
-- tables than the pre-conditions migrate (error 9); abcde034: no migrate,
-- so no main query is read; abcde035: no rules (error 522); abcde036: an
-- undeclared variable in a dump rule of type 1 (error 999).
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '030'), ('TAPP', 'ab', 'cde', '031'), ('TAPP', 'ab', 'cde', '032'),
  ('TAPP', 'ab', 'cde', '033'), ('TAPP', 'ab', 'cde', '034'), ('TAPP', 'ab', 'cde', '035'),
  ('TAPP', 'ab', 'cde', '036');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '030', 'V', 'migrate', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '031', 'V', 'migrate', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '032', 'V', 'migrate migrate', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '033', 'V', 'migrate', NULL, 'sfghi001,sfghi002', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '034', 'V', 'no move', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '035', 'V', '', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '036', 'V', '', NULL, 'sfghi001', 0, NULL);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb)
  SELECT 'TAPP', 'ab', 'cde', flno, 'item', 1, '', NULL, 0, 'N', 'N' FROM qxddi140;
INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '030', 'sf', 'ghi', '001', 'D', 'a = 1'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '030', 'sf', 'ghi', '001', 'x', 'b < 2'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '032', 'sf', 'ghi', '001', 'S', 'select sfghi001.* from sfghi001'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '032', 'sf', 'ghi', '002', 'S', ''),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '033', 'sf', 'ghi', '001', 'S', 'select sfghi001.* from sfghi001'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '033', 'sf', 'ghi', '002', 'S', 'select sfghi002.* from sfghi002'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '034', 'sf', 'ghi', '001', 'S', 'select sfghi001.* from sfghi001');
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT 4, 'V1', '01', 'CUS1', 'ab', 'cde', flno, 'item', '1', 0, 1 FROM qxddi140 WHERE flno NOT IN ('035', '036');
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '036', 'item', 'item = empty()', 1, 1);
