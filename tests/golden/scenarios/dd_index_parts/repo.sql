-- An index with all 24 parts (blank-padded), one whose third part is blank,
-- one without parts, and a source index with a combined part.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '040');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '040', 'V', '', NULL, 'sfghi001,sfghi002', 0, NULL);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '040', 'f1', 1, '', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'a', 1, '', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'b', 2, '', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'ab', 3, '', NULL, 0, 'N', 'Y'),
  ('SAPP', 'sf', 'ghi', '001', 'c', 4, '', NULL, 0, 'N', 'y'),
  ('SAPP', 'sf', 'ghi', '002', 'x', 1, '', NULL, 0, 'N', 'N');
INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('SAPP', 'sf', 'ghi', '001', 'ab', 'a', 1),
  ('SAPP', 'sf', 'ghi', '001', 'ab', 'b', 2);
INSERT INTO qxddi200 VALUES
  ('TAPP', 'ab', 'cde', '040', 1, 'N', 'Y',
   ' p1 ', 'p2', 'p3', 'p4', 'p5', 'p6', 'p7', 'p8', 'p9', 'p10', 'p11', 'p12',
   'p13', 'p14', 'p15', 'p16', 'p17', 'p18', 'p19', 'p20', 'p21', 'p22', 'p23', 'p24'),
  ('TAPP', 'ab', 'cde', '040', 2, 'Y', 'N',
   'f1', 'f2', '   ', 'f4', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
   NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', '040', 3, 'N', 'N',
   NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
   NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  ('SAPP', 'sf', 'ghi', '001', 1, 'N', 'Y',
   'ab', ' c ', 'gone', 'b', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
   NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '040', 'f1', '1', 0, 1);
