-- A legacy run whose target application is a data-dictionary application of
-- extension kind: the table bounds 7 and 9 are read as 007 and 009, the
-- tables come from qxddi140, the fields from qxddi150 with their domains,
-- target(...) is resolved, and the fields without a rule get the legacy
-- class's neutral values.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');

INSERT INTO qxddi100 (appl, extn) VALUES ('TAPP', 1), ('SAPP', 0);

INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '007'),
  ('TAPP', 'ab', 'cde', '009'), ('TAPP', 'ab', 'cde', '010');
INSERT INTO qxlgy140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '008');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'G', '', NULL, '', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '007', 'G', 'color = target(abcolor.blue)', NULL, '', 0);

INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '007', 'item', 1, 'abitem', ' W1 ', 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'dsca', 2, 'abitem', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'qty', 3, 'abqty', '5', 2, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'price', 4, 'abamnt', '2.50', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'due', 5, 'abdate', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'cut', 6, 'abtime', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'colr', 7, 'abcolor', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'pair', 8, 'abitem', NULL, 0, 'N', 'Y');

INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('TAPP', 'ab', 'cde', '007', 'pair', 'item', 1),
  ('TAPP', 'ab', 'cde', '007', 'pair', 'qty', 2);

INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'item', 's', '8', NULL, NULL, 'Right', 'Upper'),
  ('TAPP', 'ab', 'qty', 'I', '9', '0', '9', NULL, NULL),
  ('TAPP', 'ab', 'amnt', 'D', '15', '2', '12', NULL, NULL),
  ('TAPP', 'ab', 'date', 'K', NULL, NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'time', 'T', NULL, NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'color', 'E', '2', NULL, NULL, NULL, NULL);

INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES
  ('TAPP', 'ab', 'color', 'red', '1'), ('TAPP', 'ab', 'color', 'blue', '2');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '007', 'item', 'default()', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '007', 'colr', 'target(abcolor.red)', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '007', 'qty(2)', 'default()', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '007', 'price', 'empty()', 0, 2);
