-- An output folder that does not exist (and is not to be created by --clear)
-- is a usage error before the run: no log, no result.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
