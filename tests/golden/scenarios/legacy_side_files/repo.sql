-- A legacy run whose one target table has no mapping record, so that only
-- the side files follow the summary: two conversion-code tables, a
-- delimited and a fixed-length flat file, and a lookup application whose
-- password leaves the file readable by its owner only.
INSERT INTO qxmap100 (mprf, sapp, tapp, apln, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (7, 'SAPP', 'TAPP', 'LOOK', 'V1', '01', 'CUS1', '', '', '', 1, 'N');

INSERT INTO qxlgy140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', 'orders');

INSERT INTO qxlgy115 (code, ival, oval) VALUES
  ('STATE', 'NY', 'New York'), ('STATE', 'AL', 'Alabama'), ('PAY', '1', 'cash & card');

INSERT INTO qxlgy141 (appl, cpac, cmod, flno, sepr, tcol, nskp) VALUES
  ('SAPP', 'qx', 'fil', 'D:\in\cust.txt', ',', 1, 1),
  ('SAPP', 'qx', 'fil', 'D:\fix\items.dat', NULL, NULL, 0);

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos) VALUES
  ('SAPP           ', 'qx', 'fil', 'D:\in\cust.txt', 'NAME$', 1, 'U', NULL, NULL),
  ('SAPP           ', 'qx', 'fil', 'D:\in\cust.txt', 'AMT', 2, 'D', NULL, NULL),
  ('SAPP           ', 'qx', 'fil', 'D:\fix\items.dat', 'CODE', 1, 'L', 1, 6),
  ('SAPP           ', 'qx', 'fil', 'D:\fix\items.dat', 'WHEN', 2, 't', 6, 14);

INSERT INTO qxddi101 (appl, sour, logn, pswd) VALUES ('LOOK', 'lookup_dsn', 'reader', 's3cret');
