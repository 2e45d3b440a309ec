-- One conversion object with every section filled: fields of several types,
-- indexes, variables with includes and markers, the row-size lines, source
-- fields and indexes, pre-conditions, a main query with all six sections, a
-- function and two dumps.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (4, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', 'ab', 'cde', '001');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'V',
   'total = empty()' || char(13) || char(10) ||
   'select sfghi001.* from sfghi001 where sfghi001.qty > 0' || char(13) || char(10) ||
   'selectdo' || char(13) || char(10) || '  migrate' || char(13) || char(10) ||
   'endselect' || char(13) || char(10) || 'migrate', 'items', 'sfghi001,sfghi002', 0,
   '#include <bic_global>~^~long total~^~string name(30)~|~| the name' || char(13) || char(10) ||
   'domain sfamnt amount');

INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '001', 'item', 1, 'abitem', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'dsca', 2, 'abdesc', 'Widget', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'qty', 3, 'abqty', NULL, 2, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'price', 4, 'abamnt', '5', 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'crdt', 5, 'abdate', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'colr', 6, 'abcolor', NULL, 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'ikey', 7, 'abitem', NULL, 0, 'N', 'Y'),
  ('SAPP', 'sf', 'ghi', '001', 'item', 1, 'sfitem', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'name', 2, 'sfname', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'qty', 3, 'sfqty', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '001', 'skey', 4, 'sfitem', NULL, 0, 'N', 'Y'),
  ('SAPP', 'sf', 'ghi', '002', 'item', 1, 'sfitem', NULL, 0, 'N', 'N'),
  ('SAPP', 'sf', 'ghi', '002', 'amnt', 2, 'sfamnt', NULL, 0, 'N', 'N');

INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('TAPP', 'ab', 'cde', '001', 'ikey', 'item', 1),
  ('TAPP', 'ab', 'cde', '001', 'ikey', 'colr', 2),
  ('SAPP', 'sf', 'ghi', '001', 'skey', 'item', 1),
  ('SAPP', 'sf', 'ghi', '001', 'skey', 'qty', 2);

INSERT INTO qxddi200 (appl, cpac, cmod, flno, indn, dupl, acti, prt1, prt2, prt3) VALUES
  ('TAPP', 'ab', 'cde', '001', 1, 'N', 'Y', 'item', NULL, NULL),
  ('TAPP', 'ab', 'cde', '001', 2, 'Y', 'Y', ' ikey ', 'qty', ''),
  ('SAPP', 'sf', 'ghi', '001', 1, 'N', 'Y', 'skey', 'name', NULL),
  ('SAPP', 'sf', 'ghi', '002', 1, 'N', 'Y', 'item', 'gone', NULL);

INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'item', 'S', '16', NULL, NULL, 'Left', 'Upper'),
  ('TAPP', 'ab', 'desc', 'M', '30', NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'qty', 'I', '9', '0', '9', 'Right', NULL),
  ('TAPP', 'ab', 'amnt', 'D', '15', '2', '12', 'R', NULL),
  ('TAPP', 'ab', 'date', 'K', NULL, NULL, NULL, NULL, NULL),
  ('TAPP', 'ab', 'color', 'E', '2', NULL, NULL, NULL, NULL),
  ('SAPP', 'sf', 'item', 'S', '20', NULL, NULL, 'Left', 'Lower'),
  ('SAPP', 'sf', 'name', 'S', '12', NULL, NULL, NULL, NULL),
  ('SAPP', 'sf', 'qty', 'L', '9', '0', '9', NULL, NULL),
  ('SAPP', 'sf', 'amnt', 'F', '12', '3', '9', NULL, NULL);

INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES
  ('TAPP', 'ab', 'color', 'red', '1'),
  ('TAPP', 'ab', 'color', 'blue', '2');

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '001', 'S',
   'select sfghi001.*' || char(13) || char(10) || 'from sfghi001' || char(13) || char(10) ||
   'where sfghi001.qty>0 and sfghi001.name <> "A&B"'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '001', 'D', 'total = total + 1'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '001', 'E', 'total = empty()'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '001', 'O', 'skip.to.next()'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '001', 'F', 'done = 1'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '001', 'X', 'if total < 1 then message("none") endif'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '002', 'S', 'select sfghi002.* from sfghi002'),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'sf', 'ghi', '002', 'D', 'colour = target(abcolor.blue)');

INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001',
   'function extern long check.qty(long q)' || char(13) || char(10) || '{' || char(13) || char(10) ||
   '  return(q < 0 & q > -10)' || char(13) || char(10) || '}');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'item', 'sfghi001.item', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'dsca', '"Imported <new>" | literal', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'qty(1)', 'sfghi001.qty', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'price', 'sfghi002.amnt * 1.5', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'colr', 'target(abcolor.red)', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'crdt', 'date.num()', 0, 1),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'item', 'name = sfghi001.name' || char(13) || char(10) || 'total = empty()', 1, 2),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'crdt', 'crdt = utc.num()', 1, 2),
  (4, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'qty(2)', 'default()', 0, 2);
