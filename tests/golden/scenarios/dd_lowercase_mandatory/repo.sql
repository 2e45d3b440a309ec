-- The fields of dd_dump_branches with their mandatory flags in lower case:
-- the dumps treat them as mandatory, as the initial values do, and the
-- document is the same byte for byte.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '002');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'V', '', NULL, 'sfghi001', 0, NULL);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '002', 'sup', 1, 'abup', 'abc', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'slo', 2, 'ablo', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'sright', 3, 'abright', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'mtext', 4, 'abmulti', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'splain', 5, 'abplain', '"q"', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'enum', 6, 'abenum', NULL, 0, 'y', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'enum2', 7, 'abenum', '3', 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'when', 8, 'abdate', NULL, 0, 'y', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'when2', 9, 'abdate', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'amnt', 10, 'abamnt', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'tv1', 11, 'abup', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'tv2', 12, 'abright', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'tv3', 13, 'abmulti', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'tv4', 14, 'abdate', NULL, 0, 'y', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'tv5', 15, 'abamnt', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'odd', 16, 'abamnt', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'name', 1, 'sfname', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'code', 2, 'sfcode', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'qty', 3, 'sfqty', NULL, 0, 'N', 'N');
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'up', 'S', '10', NULL, NULL, 'Left', 'Upper'),
  ('TAPP', 'ab', 'lo', 'S', '10', NULL, NULL, 'Left', 'Lower'),
  ('TAPP', 'ab', 'right', 'S', '20', NULL, NULL, 'Right', NULL),
  ('TAPP', 'ab', 'multi', 'M', '40', NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'plain', 'S', '8', NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'enum', 'E', '2', NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'date', 'K', NULL, NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'amnt', 'D', '15', '2', '12', NULL, NULL),
  ('SAPP', 'sf', 'name', 'S', '12', NULL, NULL, 'Right', 'Upper'),
  ('SAPP', 'sf', 'code', 'S', '10', NULL, NULL, 'Left', 'Lower'),
  ('SAPP', 'sf', 'qty', 'L', '9', '0', '9', NULL, NULL);
INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES
  ('TAPP', 'ab', 'enum', 'open', '1'),
  ('TAPP', 'ab', 'enum', 'closed', '2');
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'sup', 'sfghi001.name', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'slo', 'sfghi001.qty | numeric source', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'sright', 'sfghi001.code', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'mtext', '"A" & sfghi001.name', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'splain', 'default()', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'enum', 'sfghi001.qty', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'enum2', 'etol(sfghi001.qty)', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'when', 'date.to.utc(sfghi001.qty) ', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'when2', 'empty()', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'amnt', 'target ( abenum.closed ) * 2', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'tv1', 'tv1 = sfghi001.name', 1, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'tv2', 'tv2 = "x"', 1, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'tv3', 'tv3 = "<y>"', 1, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'tv4', 'tv4 = utc.num()', 1, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'tv5', 'tv5 = target(abenum.open)', 1, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'sup', 'empty()', 0, 3),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'slo', '0', 0, 3),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'sright', '"abc"', 0, 3),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'mtext', 'empty.string(1;40)', 0, 3);
