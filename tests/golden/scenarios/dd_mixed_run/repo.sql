-- Profile 7 (V1-01-CUS1) derives from profile 3 (V0-01-CUS1).
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', 'V0', '01', 'CUS1', 2, 'N'),
  (3, 'SAPP', 'TAPP', 'V0', '01', 'CUS1', '', '', '', 1, 'N');

INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '001'), ('TAPP', 'ab', 'cde', '002'), ('TAPP', 'ab', 'cde', '003'),
  ('TAPP', 'ab', 'cde', '004'), ('TAPP', 'ab', 'cde', '005'), ('TAPP', 'ab', 'cde', '006'),
  ('TAPP', 'ab', 'cde', '007'), ('TAPP', 'ab', 'cde', '008'), ('TAPP', 'ab', 'cde', '009'),
  ('TAPP', 'ab', 'cde', '010'), ('TAPP', 'ab', 'cde', '011'), ('TAPP', 'ab', 'cde', '012'),
  ('TAPP', 'ab', 'cde', '013'), ('TAPP', 'ab', 'cde', '014'), ('TAPP', 'ab', 'cde', '015'), ('TAPP', 'ab', 'cde', '016'),
  ('TAPP', 'ab', 'xyz', '001'), ('OTHER', 'ab', 'cde', '020');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'V',
   '  if qty < 10 & price > 0 &lt; then' || char(13) || char(10) ||
   '	color = target (abcolor.red) | Target(abcolor.blue)' || char(13) || char(10) ||
   'shade = target(abcolor.pink)' || char(13) || char(10) ||
   'migrate.all MIGRATE "quoted"  ', 'items', 'abfgh001,abfgh002', 0),
  (3, 'V0', '01', 'CUS1', 'ab', 'cde', '002', 'G', NULL, NULL, NULL, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'X', 'x', 'c', 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '004', 'D', 'x', 'c', 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '005', 'M', NULL, NULL, 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '006', 'M', NULL, 'kept for its comment', 'abfgh006', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '007', 'E', 'migrate', NULL, 'abfgh007', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '009', 'V', '', NULL, 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '010', 'V', '', NULL, 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '011', 'V', '', NULL, 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '012', 'V', 'total = empty()', NULL, 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '013', 'V', '', NULL, 'abfgh001 & abfgh002', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '014', 'G', '', NULL, 's', 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'xyz', '001', 'V', '', NULL, 's', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '015', 'V', '', NULL, 's', 0),
  (3, 'V0', '01', 'CUS1', 'ab', 'cde', '016', 'X', 'x', NULL, 's', 0);

-- ab cde 001: every kind of field.
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '001', 'item', 1, 'abitem', '  ', 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'dsca', 2, 'abdesc', 'Widget', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'qty', 3, 'abqty', NULL, 2, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'price', 4, 'abamnt', '5', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'crdt', 5, 'abdate', '0', 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'ctim', 6, 'abtime', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'colr', 7, 'abcolor', NULL, 0, 'N', 'n'),
  ('TAPP', 'ab', 'cde', '001', 'ikey', 8, 'abitem', NULL, 0, 'N', 'Y'),
  ('TAPP', 'ab', 'cde', '001', 'note', 9, ' ', 'x', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'flag', 10, 'abqty', NULL, 0, 'N', ' '),
  ('TAPP', 'ab', 'cde', '001', 'other', 11, 'abqty', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '002', 'item', 1, 'abitem', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '006', 'item', 1, 'abitem', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '007', 'item', 1, 'abitem', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '010', 'ckey', 1, 'abitem', NULL, 0, 'N', 'Y'),
  ('TAPP', 'ab', 'cde', '011', 'item', 1, 'abnone', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '012', 'item', 1, 'abitem', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '013', 'item', 1, 'abitem', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '014', 'item', 1, 'abitem', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'xyz', '001', 'item', 1, 'abitem', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '015', 'item', 1, 'abitem', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '015', 'item', 2, 'abqty', NULL, 0, 'N', 'N'),
  ('SAPP', 'ab', 'cde', '009', 'item', 1, 'abitem', NULL, 0, 'N', 'N');

INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('TAPP', 'ab', 'cde', '001', 'ikey', ' item ', 1),
  ('TAPP', 'ab', 'cde', '001', 'ikey', 'qty', 2),
  ('TAPP', 'ab', 'cde', '001', 'ikey', 'Crdt', 3);

INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'item', 's', ' 16 ', NULL, NULL, 'Left', 'upper'),
  ('TAPP', 'ab', 'desc', 'M', '30', NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'qty', 'I', '9', '0', '9', 'Right', NULL),
  ('TAPP', 'ab', 'amnt', 'D', '15', '2', '12', 'R', NULL),
  ('TAPP', 'ab', 'date', 'K', NULL, NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'time', 'T', '', NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'color', 'E', '2', NULL, NULL, NULL, NULL);

INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES
  ('TAPP', 'ab', 'color', 'red', '1'),
  ('TAPP', 'ab', 'color', 'blue', '2');

-- Every conversion object maps its first field in dump 1.
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT mprf, vers, rele, cust, tcpac, tcmod, tflno, 'item', '1', 0, 1 FROM qxmap120;

-- The pre-conditions of 001 and 007 migrate, so they read their main queries.
INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'ab', 'fgh', '001', 'S', 'select abfgh001.* from abfgh001'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'ab', 'fgh', '002', 'S', 'select abfgh002.* from abfgh002 where x < 1 & y'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', '007', 'ab', 'fgh', '007', 'S', 'select abfgh007.* from abfgh007');
