-- A split legacy run. abcdeorders: the legacy table ordh split on two
-- fields typed "region, ordno" (a text and a number; the blank goes in the
-- range code and stays in the split information), its select under a where
-- and an order by, its own declarations and functions; abcdecusts: the flat
-- file cust.txt split on one field, its migrate in capitals, no functions
-- (the range routines stand alone in FUNCTION); abcdeplain: a target
-- without split rows keeps its pre-condition, but FUNCTION still carries
-- the routines; abcdenofields: a source without split fields (error 1009);
-- abcdetwice: the same table migrated twice (error 457). The split
-- information lists every target of the split table, the flat file with an
-- empty line where a table has its connection data.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (9, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');

INSERT INTO qxlgy140 (appl, cpac, cmod, flno, sour, logn, pswd) VALUES
  ('TAPP', 'ab', 'cde', 'custs', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'nofields', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'orders', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'plain', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'twice', NULL, NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'ordh', 'sales_dsn', 'reader', 'pw&1');
INSERT INTO qxlgy141 (appl, cpac, cmod, flno, sepr, tcol, nskp) VALUES
  ('SAPP', 'qx', 'fil', 'cust.txt', ',', 1, 1);

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos)
  SELECT 'TAPP', 'ab', 'cde', flno, 'code', 1, 'L', 1, 9 FROM qxlgy140 WHERE appl = 'TAPP';
INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos) VALUES
  ('SAPP', 'qx', 'tbl', 'ordh', 'ordno', 1, 'L', NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'ordh', 'region', 2, 'S', NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'ordh', 'amount', 3, 'D', NULL, NULL),
  ('SAPP', 'qx', 'fil', 'cust.txt', 'CODE', 1, 'I', NULL, NULL),
  ('SAPP', 'qx', 'fil', 'cust.txt', 'NAME$', 2, 'S', NULL, NULL);

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'V',
   'total = 0' || char(13) || char(10) || 'migrate ordh' || char(13) || char(10),
   NULL, 'ordh', 0, 'dim total'),
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'custs', 'V', 'MIGRATE' || char(9) || 'cust.txt', NULL, 'cust.txt', 0, NULL),
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'plain', 'V', 'migrate ordh', NULL, 'ordh', 0, NULL),
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'nofields', 'V', 'migrate ordh', NULL, 'ordh', 0, NULL),
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'twice', 'V',
   'migrate ordh' || char(13) || char(10) || 'migrate ordh', NULL, 'ordh', 0, NULL);
INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES
  ('abcdecusts', 'cust.txt', 'CODE'),
  ('abcdenofields', 'ordh', ''),
  ('abcdeorders', 'ordh', 'region, ordno'),
  ('abcdetwice', 'ordh', 'ordno');

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'qx', 'tbl', 'ordh', 'S',
   'select ordh.* from ordh where ordh.amount > 0 order by ordh.ordno'),
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'qx', 'tbl', 'ordh', 'D', 'total = total + ordh.amount'),
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'custs', 'qx', 'fil', 'cust.txt', 'S', 'select cust.* from cust.txt'),
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'plain', 'qx', 'tbl', 'ordh', 'S', 'select ordh.* from ordh');
INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (9, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'function AddUp(x)' || char(13) || char(10) ||
   char(9) || 'AddUp = x + 1' || char(13) || char(10) || 'end function');
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT 9, 'V1', '01', 'CUS1', 'ab', 'cde', flno, 'code', '1', 0, 1 FROM qxlgy140 WHERE appl = 'TAPP';

INSERT INTO qxlgy115 (code, ival, oval) VALUES ('STATE', 'NY', 'New York');
