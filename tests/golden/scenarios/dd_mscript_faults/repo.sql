-- M-scripts that cannot be written. abcde030 and abcde031 belong to parent
-- 9cpar002, whose code is no XML name: the document fails its whole check,
-- nothing of the group counts as written, and abcde031 is tried on its own.
-- abcde040's parent code tcx is longer than a package code: the parent read
-- back as "tc" has no members, and the object fails instead of writing an
-- empty document.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', '030'), ('TAPP', 'ab', 'cde', '031'), ('TAPP', 'ab', 'cde', '040');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '030', 'V', '', NULL, 'sfghi001', 1, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '031', 'V', '', NULL, 'sfghi001', 1, NULL),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '040', 'V', '', NULL, 'sfghi001', 1, NULL);
INSERT INTO qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '030', '9c', 'par', '002'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '031', '9c', 'par', '002'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '040', 'tcx', 'par', '003');
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '030', 'ordn', 1, 'abnum', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '031', 'note', 1, 'abtext', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'ordn', 1, 'sfnum', NULL, 0, 'N', 'N');
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'num', 'L', '9', '0', '9', NULL, NULL),
  ('TAPP', 'ab', 'text', 'S', '20', NULL, NULL, NULL, NULL),
  ('SAPP', 'sf', 'num', 'L', '9', '0', '9', NULL, NULL);
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '030', 'ordn', 'sfghi001.ordn', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '031', 'note', '"x"', 0, 1);
