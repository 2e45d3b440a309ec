-- Split runs: before every migrate the range code of its source table, the
-- range conditions in the main queries and the declarations in VAR.
-- abcde001: one split field, a main query without where or closing clause;
-- abcde002: two source tables, one split on one field under a group by, one
-- on two fields typed "k1, k2" (the blank goes) under a where and an order
-- by, its migrate in capitals after a tab; abcde003: an index reference
-- (index 1: k1 and the combined field c of c1 and c2) under a where;
-- abcde004: a source table without split fields (error 1009); abcde005: the
-- same table migrated twice (error 457); abcde006: a target without split
-- rows keeps its pre-condition, and VAR still gets the declarations.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '002'), ('TAPP', 'ab', 'cde', '003'),
  ('TAPP', 'ab', 'cde', '004'), ('TAPP', 'ab', 'cde', '005'), ('TAPP', 'ab', 'cde', '006');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'V', 'migrate sfghi001', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'V',
   'total = 0' || char(13) || char(10) || 'migrate sfghi001' || char(13) || char(10) ||
   'MIGRATE' || char(9) || 'sfghi002 where x', NULL, 'sfghi001,sfghi002', 0, 'long total'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'V', 'migrate sfghi003', NULL, 'sfghi003', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '004', 'V', 'migrate sfghi001', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '005', 'V',
   'migrate sfghi001' || char(13) || char(10) || 'migrate sfghi001', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '006', 'V', 'migrate sfghi001', NULL, 'sfghi001', 0, NULL);
INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES
  ('abcde001', 'sfghi001', 'item'),
  ('abcde002', 'sfghi001', 'qty'),
  ('abcde002', 'sfghi002', 'k1, k2'),
  ('abcde003', 'sfghi003', 'INDEX1'),
  ('abcde004', 'sfghi001', ''),
  ('abcde005', 'sfghi001', 'item');

INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb)
  SELECT 'TAPP', 'ab', 'cde', flno, 'item', 1, '', NULL, 0, 'N', 'N' FROM qxddi140;
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('SAPP', 'sf', 'ghi', '001', 'item', 1, 'sfitem', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'qty', 2, 'sfqty', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '002', 'k1', 1, 'sfstat', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '002', 'k2', 2, 'sfamnt', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '002', 'name', 3, 'sfitem', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '003', 'k1', 1, 'sfqty', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '003', 'c', 2, 'sfitem', NULL, 0, 'N', 'Y'),
  ('SAPP', 'sf', 'ghi', '003', 'c1', 3, 'sfitem', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '003', 'c2', 4, 'sfamnt', NULL, 0, 'N', 'N');
INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('SAPP', 'sf', 'ghi', '003', 'c', 'c2', 2),
  ('SAPP', 'sf', 'ghi', '003', 'c', 'c1', 1);
INSERT INTO qxddi200 (appl, cpac, cmod, flno, indn, dupl, acti, prt1, prt2, prt3) VALUES
  ('SAPP', 'sf', 'ghi', '003', 1, 'N', 'Y', 'k1', 'c', NULL);
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('SAPP', 'sf', 'item', 'S', '20', NULL, NULL, NULL, NULL),
  ('SAPP', 'sf', 'qty', 'L', '9', '0', '9', NULL, NULL),
  ('SAPP', 'sf', 'stat', 'E', '2', NULL, NULL, NULL, NULL),
  ('SAPP', 'sf', 'amnt', 'D', '12', '3', '9', NULL, NULL);

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '001', 'S', 'select sfghi001.* from sfghi001'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'sf', 'ghi', '001', 'S',
   'select sfghi001.qty, count(*) from sfghi001 group by sfghi001.qty'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'sf', 'ghi', '002', 'S',
   'select sfghi002.* from sfghi002 where sfghi002.name <> "" order by sfghi002.k1'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'sf', 'ghi', '003', 'S',
   'select sfghi003.* from sfghi003 where sfghi003.k1 > 0'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '006', 'sf', 'ghi', '001', 'S', 'select sfghi001.* from sfghi001');
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT 4, 'V1', '01', 'CUS1', 'ab', 'cde', flno, 'item', '1', 0, 1 FROM qxddi140;
