-- One conversion object reading a flat file (cust.txt: its rows to skip,
-- its layout fields and a Schema.ini section), a foreign table (items,
-- registered as ITEMS: its connection is found whatever the case, and
-- escaped), a .csv file without a description, and a source of another
-- module whose texts are escaped and not translated.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');

INSERT INTO qxlgy140 (appl, cpac, cmod, flno, sour, logn, pswd) VALUES
  ('TAPP', 'ab', 'cde', 'orders', NULL, NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'ITEMS', 'dsn&items', '<reader>', 'p"w');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'V',
   'if cust.AMT > 0 and items.QTY<>0 then' || char(13) || char(10) || '  total = "a.b"' || char(13) || char(10) || 'endif',
   NULL, 'cust.txt,items, rates.csv', 0);

INSERT INTO qxlgy141 (appl, cpac, cmod, flno, sepr, tcol, nskp) VALUES
  ('SAPP', 'qx', 'fil', 'cust.txt', ';', 0, 2);

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos) VALUES
  ('TAPP', 'ab', 'cde', 'orders', 'NAME', 1, 'S', 1, 31),
  ('TAPP', 'ab', 'cde', 'orders', 'AMT', 2, 'D', 31, 41),
  ('TAPP', 'ab', 'cde', 'orders', 'WHEN', 3, 'T', NULL, 49),
  ('TAPP', 'ab', 'cde', 'orders', 'NOTE', 4, 'M', 49, 59),
  ('SAPP', 'qx', 'fil', 'cust.txt', 'NAME$', 1, 'U', NULL, NULL),
  ('SAPP', 'qx', 'fil', 'cust.txt', 'AMT', 2, 'D', NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'items', 'QTY', 1, 'L', NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'items', 'DSC$', 2, 'U', NULL, NULL);

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'qx', 'fil', 'cust.txt', 'S',
   'select * from cust.txt where cust.AMT > 10 and cust.NAME$ <> "A.B"'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'qx', 'fil', 'cust.txt', 'D',
   'var.total = var.total + cust.AMT'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'qx', 'tbl', 'items', 'S',
   'select items.*, items.QTY from items where items.QTY > 0'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'qx', 'tbl', 'items', 'X',
   'get.code.x = 1.5'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'ab', 'zzz', 'other', 'S',
   'select a.b from other where a.b < 3 & "q"');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'NAME', 'cust.NAME$', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'AMT', 'cust.AMT * 2', 1, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'WHEN', 'items.WHEN', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'NAME', 'get.code.x(items.DSC$)', 0, 2);
