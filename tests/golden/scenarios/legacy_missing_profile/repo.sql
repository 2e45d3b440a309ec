-- A legacy run on a profile that is not there: error 111 before any
-- selection, no summary and no side file, although there are conversion
-- codes and a flat file to describe.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxmap101 (mprf, pprf) VALUES (70, 7);
INSERT INTO qxlgy140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', 'orders');
INSERT INTO qxlgy115 (code, ival, oval) VALUES ('STATE', 'NY', 'New York');
INSERT INTO qxlgy141 (appl, cpac, cmod, flno, sepr, tcol, nskp) VALUES ('SAPP', 'qx', 'fil', 'cust.txt', ',', 1, 1);
