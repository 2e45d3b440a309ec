-- M-scripts of the legacy class. head and line belong to the parent
-- abcdeorders together with abxyzpos, a table of another module: member
-- codes split into package (1-2), module (3-5) and table number (the rest),
-- and the parent keeps its full-length table number. head writes the
-- document and line is then skipped. bx1 and bx2 belong to abcdebad, whose
-- member bx1 has no rules: the document fails, its members are taken back,
-- and bx2 is tried (and fails) on its own.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');

INSERT INTO qxlgy140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', 'bx1'), ('TAPP', 'ab', 'cde', 'bx2'),
  ('TAPP', 'ab', 'cde', 'head'), ('TAPP', 'ab', 'cde', 'line');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'bx1', 'G', '', NULL, '', 1, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'bx2', 'G', '', NULL, '', 1, NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'head', 'G', 'x = cust.AMT', NULL, 'cust.txt', 1,
   'dim long var.total'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'line', 'V', '', NULL, '', 1, NULL);

INSERT INTO qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'head', 'ab', 'cde', 'orders'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'line', 'ab', 'cde', 'orders'),
  (7, 'V1', '01', 'CUS1', 'ab', 'xyz', 'pos', 'ab', 'cde', 'orders'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'bx1', 'ab', 'cde', 'bad'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'bx2', 'ab', 'cde', 'bad');

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos) VALUES
  ('TAPP', 'ab', 'cde', 'head', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'head', 'CUST', 2, 'S', 5, 15),
  ('TAPP', 'ab', 'cde', 'line', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'line', 'QTY', 2, 'I', 5, 9),
  ('TAPP', 'ab', 'xyz', 'pos', 'POS', 1, 'L', 1, 3),
  ('TAPP', 'ab', 'cde', 'bx1', 'NO', 1, 'L', 1, 5),
  ('TAPP', 'ab', 'cde', 'bx2', 'NO', 1, 'L', 1, 5),
  ('SAPP', 'qx', 'fil', 'cust.txt', 'AMT', 1, 'D', NULL, NULL);

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'qx', 'fil', 'cust.txt', 'S', 'select * from cust.txt'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'head', 'qx', 'fil', 'cust.txt', 'S', 'select not.the.parent from cust.txt');

INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'orders', 'function long f()' || char(13) || char(10) || '{ return(cust.AMT) }'),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'head', 'function long not_the_parent()');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'head', 'NO', 'cust.NO', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'line', 'QTY', 'var.total', 1, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'line', 'NO', 'cust.NO', 0, 2),
  (7, 'V1', '01', 'CUS1', 'ab', 'xyz', 'pos', 'POS', '1', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'bx2', 'NO', '2', 0, 1);
