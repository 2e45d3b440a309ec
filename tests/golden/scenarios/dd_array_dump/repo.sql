-- An array field of depth 12 and a field with a rule only in dump 1.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '003');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'V', '', NULL, 's', 0, NULL);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '003', 'qty', 1, 'abqty', '7', 12, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '003', 'note', 2, 'abtext', NULL, 0, 'N', 'N');
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'qty', 'I', '9', '0', '9', NULL, NULL),
  ('TAPP', 'ab', 'text', 'S', '20', NULL, NULL, NULL, NULL);
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'qty(10)', '10', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'note', '"first"', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'qty(1)', '1', 0, 2);
