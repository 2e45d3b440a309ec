-- Every status the legacy run tells apart, with checked-out versions
-- considered (status C joins the fixed filter) and traversal on. Profile 7
-- derives from 3, and 3 from 1; the run profile's deph of 2 bounds the
-- unsuccessful lookups over all levels together, so profile 1 is never
-- reached although every parent allows more.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', 'V0', '01', 'CUS1', 2, 'N'),
  (3, 'SAPP', 'TAPP', 'V0', '01', 'CUS1', 'VX', '01', 'CUS1', 9, 'N'),
  (1, 'SAPP', 'TAPP', 'VX', '01', 'CUS1', '', '', '', 9, 'N');

INSERT INTO qxlgy140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', 'chk'), ('TAPP', 'ab', 'cde', 'com'),
  ('TAPP', 'ab', 'cde', 'err'), ('TAPP', 'ab', 'cde', 'exp'),
  ('TAPP', 'ab', 'cde', 'gen'), ('TAPP', 'ab', 'cde', 'mnt'),
  ('TAPP', 'ab', 'cde', 'non'), ('TAPP', 'ab', 'cde', 'nor'),
  ('TAPP', 'ab', 'cde', 'old'), ('TAPP', 'ab', 'cde', 'par'),
  ('TAPP', 'ab', 'cde', 'zzz'), ('TAPP', 'ab', 'xyz', 'gen');

-- A null stbl does not matter to the rules that skip before it (X, D).
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'chk', 'C', '', NULL, '', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'com', 'D', 'x = 1', 'c', NULL, 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'err', 'E', 'x = 1', NULL, '', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'exp', 'X', 'x = 1', NULL, NULL, 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'gen', 'G', NULL, NULL, '', NULL),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'mnt', 'M', '   ', 'kept for its comment', '', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'nor', 'M', '  ', NULL, '', 0),
  (1, 'VX', '01', 'CUS1', 'ab', 'cde', 'old', 'V', '', NULL, '', 0),
  (3, 'V0', '01', 'CUS1', 'ab', 'cde', 'par', 'V', '', NULL, NULL, 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'zzz', 'Z', '', NULL, '', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'xyz', 'gen', 'G', '', NULL, '', 0);

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos) VALUES
  ('TAPP', 'ab', 'cde', 'chk', 'CODE', 1, 'U', 1, 9),
  ('TAPP', 'ab', 'cde', 'gen', 'CODE', 1, 'U', 1, 9),
  ('TAPP', 'ab', 'cde', 'mnt', 'CODE', 1, 'U', 1, 9);

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'chk', 'CODE', 'cust.CODE', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'gen', 'CODE', 'cust.CODE', 0, 1),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'mnt', 'CODE', 'cust.CODE', 0, 1);
