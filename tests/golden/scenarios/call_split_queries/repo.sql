-- The public split operations: source table sfghi003 is split on its index
-- 1, whose parts are k1 and the combined field c of c1 and c2.
INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES ('abcde003', 'sfghi003', 'INDEX1');
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
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
  ('SAPP', 'sf', 'amnt', 'D', '12', '3', '9', NULL, NULL);
