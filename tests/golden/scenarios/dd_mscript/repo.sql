-- Three members of the M-script of parent abpar001: the first one met writes
-- the whole group, the other two are skipped. abcde020 is flagged as a
-- member but has no parent.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '010'), ('TAPP', 'ab', 'cde', '011'), ('TAPP', 'ab', 'cde', '012'),
  ('TAPP', 'ab', 'cde', '013'), ('TAPP', 'ab', 'cde', '020');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '010', 'V', 'migrate', NULL, 'sfghi001', 1, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '011', 'V', '', NULL, 'sfghi001', 1, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '012', 'V', '', NULL, 'sfghi001', 1, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '013', 'V', '', NULL, 'sfghi001', 0, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '020', 'V', '', NULL, 'sfghi001', 1, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'par', '001', 'V', '', NULL, 'sfghi001', 0, 'long count');
INSERT INTO qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '010', 'ab', 'par', '001'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '011', 'ab', 'par', '001'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '012', 'ab', 'par', '001');
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '010', 'ordn', 1, 'abnum', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '010', 'cust', 2, 'abtext', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '011', 'ordn', 1, 'abnum', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '011', 'line', 2, 'abnum', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '012', 'ordn', 1, 'abnum', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '012', 'note', 2, 'abtext', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '013', 'item', 1, 'abtext', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'ordn', 1, 'sfnum', NULL, 0, 'N', 'N');
INSERT INTO qxddi200 (appl, cpac, cmod, flno, indn, dupl, acti, prt1, prt2) VALUES
  ('TAPP', 'ab', 'cde', '011', 1, 'N', 'Y', 'ordn', 'line');
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'num', 'L', '9', '0', '9', NULL, NULL),
  ('TAPP', 'ab', 'text', 'S', '20', NULL, NULL, NULL, NULL),
  ('SAPP', 'sf', 'num', 'L', '9', '0', '9', NULL, NULL);
INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'par', '001', 'sf', 'ghi', '001', 'S', 'select sfghi001.* from sfghi001'),
  (4, 'V1', '01', 'CUS1', 'ab', 'par', '001', 'sf', 'ghi', '001', 'D', 'count = count + 1');
INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'par', '001', 'function void done() { }');
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '010', 'ordn', 'sfghi001.ordn', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '011', 'ordn', 'sfghi001.ordn', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '011', 'line', 'count', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '012', 'note', '"closing"', 0, 2),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '013', 'item', '"x"', 0, 1);
