-- Conversion objects that fail, each in one way, and one that includes a
-- function of the repository. pre125, q125 and fn125 fail the translation
-- of a section (an embedded select without its selectdo), star125 a select
-- * over a file without fields; r126 a rule whose empty() names no declared
-- variable; f1000, fbadtab and fname an include; nosrc a source table
-- without connection data; r522 has no rules. Profile 7 has the parents 3 and 5, the
-- profiles whose function library is searched: calc lives in both, and
-- profile 5's (the highest) is taken, with its table declaration.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N'),
  (3, 'SAPP', 'TAPP', 'V3', '01', 'CUS1', '', '', '', 1, 'N'),
  (5, 'SAPP', 'TAPP', 'V5', '01', 'CUS1', '', '', '', 1, 'N');

INSERT INTO qxmap101 (mprf, pprf) VALUES (7, 3), (7, 5);

INSERT INTO qxlib100 (mprf, vers, rele, cust, fnam, fdef) VALUES
  (3, 'V3', '01', 'CUS1', 'calc', 'function long calc() { return(3) }'),
  (5, 'V5', '01', 'CUS1', 'CALC',
   'table tcitm001' || char(13) || char(10) || 'function long calc()' || char(13) || char(10) ||
   '{ return(tcitm001.QTY) }'),
  (5, 'V5', '01', 'CUS1', 'badtab', 'table tcitm001,' || char(13) || char(10) || 'function long badtab()');

INSERT INTO qxlgy140 (appl, cpac, cmod, flno, sour, logn, pswd) VALUES
  ('TAPP', 'ab', 'cde', 'f1000', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'fn125', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'fbadtab', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'fname', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'inc', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'nosrc', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'pre125', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'q125', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'r126', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'r522', NULL, NULL, NULL),
  ('TAPP', 'ab', 'cde', 'star125', NULL, NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'tcitm001', 'items_dsn', 'reader', 'pw');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'f1000', 'G', '', NULL, '', 0,
   'long var.n' || char(13) || char(10) || '#include <nofunc>'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fbadtab', 'G', '', NULL, '', 0, '#include <badtab>'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fn125', 'G', '', NULL, '', 0, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fname', 'G', '', NULL, '', 0, '#include nofunc'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'inc', 'G', '', NULL, '', 0,
   'long var.n' || char(13) || char(10) || '#include <calc>  | the vat' || char(13) || char(10) ||
   '''#include <nofunc>' || char(13) || char(10) || 'string var.s(8)'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'nosrc', 'G', '', NULL, 'cust.txt,items', 0, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'pre125', 'G', 'x = 1' || char(13) || char(10) || 'select a.b from c', NULL, '', 0, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'q125', 'G', '', NULL, '', 0, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'r126', 'G', '', NULL, '', 0, 'long var.n'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'r522', 'G', '', NULL, '', 0, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'star125', 'G', '', NULL, '', 0, NULL);

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos) VALUES
  ('TAPP', 'ab', 'cde', 'f1000', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'fbadtab', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'fname', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'inc', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'nosrc', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'pre125', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'q125', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'r126', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'r522', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'fn125', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'star125', 'NO', 1, 'L', 1, 5),
  ('SAPP', 'qx', 'fil', 'cust.txt', 'AMT', 1, 'D', NULL, NULL),
  ('SAPP', 'qx', 'tbl', 'tcitm001', 'QTY', 1, 'L', NULL, NULL);

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'q125', 'qx', 'fil', 'cust.txt', 'S', 'select * from cust.txt'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'q125', 'qx', 'fil', 'cust.txt', 'D', 'n = 1' || char(13) || char(10) || 'select x.y from z'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'star125', 'qx', 'fil', 'rates.csv', 'S', 'select * from rates.csv');

INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fn125', 'function long f()' || char(13) || char(10) || '{ select a.b from c }');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'f1000', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fbadtab', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fname', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'inc', 'NO', 'calc()', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'nosrc', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'pre125', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'q125', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fn125', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'star125', 'NO', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'r126', 'NO', 'n = 2' || char(13) || char(10) || 'x = empty()', 1, 1);
