#include "cli/demo_repository.h"

namespace mx::cli {

// An order-management migration: profile 20 (version V200) derives from the
// base profile 10 (version BASE). Target application TRG, source SRC.
//   tcitm001 items        mapped in profile 20, verified: written
//   tcitm002 item prices  mapped only in the base profile: found by traversal
//   tcord001 orders       expired: skipped
//   tcord002 order lines  comment only: skipped
//   tcord003 order notes  maintained without rules: skipped
//   tcord004 deliveries   no mapping anywhere: warning
//   tcord005 invoices     assigns empty() to an undeclared variable: fails
//   tcord006 returns      with tcord007 and tcord008 one M-script under
//   tcord007, tcord008    the parent tcret001: written once, then skipped
//   tcspl001 item prices  split over worker shells (a run of its own):
//                         tiitm001 on its field item, tiitm010 on INDEX1
//
// The legacy profile 30 (version L300) reads the legacy application LEG
// into the same target application TRG, which is registered as a
// data-dictionary application, so the target fields come from qxddi150:
//   tccus001 customers    the comma-separated flat file cust.txt; include
//                         lines (one in a comment, one in a string: both
//                         stay), fmt_phone from the function repository,
//                         whose table declaration adds the foreign table
//                         supp; select * expanded from the file's fields
//   tccus002 suppliers    the foreign table supp (a select item without
//                         alias gets one)
//                         and the fixed-length flat file prices.txt
//                         (prices.* expanded)
//   tccus003, tccus004    one M-script under the parent tcgrp001
//   tcspl002 customers    split over worker shells on cust.txt's CODE (a
//                         run of its own)
// and the side files: Schema.ini (a delimited and a fixed-length section),
// the conversion codes STATE and PAY and the lookup application LOOK.
const char* DemoRepositoryScript() {
  return R"SQL(
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme, apln) VALUES
  (10, 'SRC', 'TRG', 'BASE', '01', 'STD', '', '', '', 1, 'N', NULL),
  (20, 'SRC', 'TRG', 'V200', '01', 'ACME', 'BASE', '01', 'STD', 2, 'N', NULL);

INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TRG', 'tc', 'itm', '001'), ('TRG', 'tc', 'itm', '002'),
  ('TRG', 'tc', 'ord', '001'), ('TRG', 'tc', 'ord', '002'),
  ('TRG', 'tc', 'ord', '003'), ('TRG', 'tc', 'ord', '004'),
  ('TRG', 'tc', 'ord', '005'), ('TRG', 'tc', 'ord', '006'),
  ('TRG', 'tc', 'ord', '007'), ('TRG', 'tc', 'ord', '008');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'V',
   'item.count = empty()' || char(13) || char(10) ||
   '| only items with price < 1000 & active' || char(13) || char(10) ||
   'select tiitm001.* from tiitm001' || char(13) || char(10) ||
   'selectdo' || char(13) || char(10) || '  migrate' || char(13) || char(10) ||
   'endselect' || char(13) || char(10) || 'migrate', 'Item master', 'tiitm001,tiitm010', 0,
   '#include <bic_global>~^~long item.count~^~domain tiamnt last.price~^~string note(40)'),
  (10, 'BASE', '01', 'STD ', 'tc', 'itm', '002', 'G', '', 'Prices from the base profile', 'tiprc001', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '001', 'X', 'old', NULL, 'tdsls040', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '002', 'D', NULL, 'Lines follow the orders', NULL, 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '003', 'M', NULL, NULL, 'tdsls045', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '005', 'V',
   'amount = empty()', 'Invoices', 'cisli205', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '006', 'G', 'migrate', 'Returns', 'tdsls050', 1, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '007', 'G', '', 'Return lines', 'tdsls051', 1, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '008', 'G', '', 'Return notes', 'tdsls052', 1, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ret', '001', 'G', '', 'Returns group', 'tdsls050', 0, 'long returned');

INSERT INTO qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '006', 'tc', 'ret', '001'),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '007', 'tc', 'ret', '001'),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '008', 'tc', 'ret', '001');

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'ti', 'itm', '001', 'S',
   'select tiitm001.*' || char(13) || char(10) || 'from tiitm001' || char(13) || char(10) ||
   'where tiitm001.prce<1000 and tiitm001.item <> " "'),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'ti', 'itm', '001', 'D', 'item.count = item.count + 1'),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'ti', 'itm', '001', 'E', 'message("no items")'),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'ti', 'itm', '010', 'S', 'select tiitm010.* from tiitm010'),
  (20, 'V200', '01', 'ACME', 'tc', 'ret', '001', 'td', 'sls', '050', 'S', 'select tdsls050.* from tdsls050'),
  (20, 'V200', '01', 'ACME', 'tc', 'ret', '001', 'td', 'sls', '050', 'D', 'returned = returned + 1');

INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001',
   'function extern long valid.price(double p)' || char(13) || char(10) || '{' || char(13) || char(10) ||
   '  return(p > 0 & p < 1000)' || char(13) || char(10) || '}');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'item', 'tiitm001.item', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'dsca', 'tiitm001.dsca | from the source', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'qty(1)', 'tiitm001.stoc', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'price', 'tiitm010.prce', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'stat', 'target(tcstat.active)', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'crdt', 'crdt = utc.num()', 1, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'price', 'last.price = empty()' || char(13) || char(10) || 'price = tiitm010.prce', 1, 2),
  (10, 'BASE', '01', 'STD ', 'tc', 'itm', '002', 'item', 'tiprc001.item', 0, 1),
  (10, 'BASE', '01', 'STD ', 'tc', 'itm', '002', 'price', 'tiprc001.prce', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '006', 'rtno', 'tdsls050.rtno', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '007', 'rtno', 'tdsls050.rtno', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '007', 'line', 'returned', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '008', 'text', '"Returned goods"', 0, 1);

INSERT INTO qxddi200 (appl, cpac, cmod, flno, indn, dupl, acti, prt1, prt2) VALUES
  ('TRG', 'tc', 'itm', '001', 1, 'N', 'Y', 'item', NULL),
  ('TRG', 'tc', 'itm', '001', 2, 'Y', 'Y', 'ikey', 'crdt'),
  ('SRC', 'ti', 'itm', '001', 1, 'N', 'Y', 'item', NULL),
  ('SRC', 'ti', 'itm', '010', 1, 'N', 'Y', 'ikey', NULL);

INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TRG', 'tc', 'itm', '001', 'item',    1, 'tcitem', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'itm', '001', 'dsca',    2, 'tcdesc', 'New item', 0, 'N', 'N'),
  ('TRG', 'tc', 'itm', '001', 'qty',     3, 'tcqty',  NULL,  3, 'N', 'N'),
  ('TRG', 'tc', 'itm', '001', 'price',   4, 'tcamnt', '12',  0, 'N', 'N'),
  ('TRG', 'tc', 'itm', '001', 'crdt',    5, 'tcdate', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'itm', '001', 'stat',    6, 'tcstat', '1',   0, 'N', 'N'),
  ('TRG', 'tc', 'itm', '001', 'ikey',    7, 'tcitem', NULL,  0, 'N', 'Y'),
  ('TRG', 'tc', 'itm', '002', 'item',    1, 'tcitem', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'itm', '002', 'price',   2, 'tcamnt', NULL,  0, 'N', 'N'),
  ('TRG', 'tc', 'itm', '002', 'rmrk',    3, '',       NULL,  0, 'N', 'N'),
  ('TRG', 'tc', 'ord', '005', 'invn',    1, 'tcitem', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'ord', '006', 'rtno',    1, 'tcitem', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'ord', '006', 'rdat',    2, 'tcdate', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'ord', '007', 'rtno',    1, 'tcitem', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'ord', '007', 'line',    2, 'tcqty',  NULL,  0, 'N', 'N'),
  ('TRG', 'tc', 'ord', '008', 'rtno',    1, 'tcitem', NULL,  0, 'Y', 'N'),
  ('TRG', 'tc', 'ord', '008', 'text',    2, 'tcdesc', NULL,  0, 'N', 'N'),
  ('SRC', 'ti', 'itm', '001', 'item',    1, 'tiitem', NULL,  0, 'N', 'N'),
  ('SRC', 'ti', 'itm', '001', 'dsca',    2, 'tidesc', NULL,  0, 'N', 'N'),
  ('SRC', 'ti', 'itm', '001', 'stoc',    3, 'tiqty',  NULL,  0, 'N', 'N'),
  ('SRC', 'ti', 'itm', '010', 'item',    1, 'tiitem', NULL,  0, 'N', 'N'),
  ('SRC', 'ti', 'itm', '010', 'cntr',    2, 'tiqty',  NULL,  0, 'N', 'N'),
  ('SRC', 'ti', 'itm', '010', 'ikey',    3, 'tiitem', NULL,  0, 'N', 'Y'),
  ('SRC', 'ti', 'itm', '010', 'prce',    4, 'tiamnt', NULL,  0, 'N', 'N');

INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('TRG', 'tc', 'itm', '001', 'ikey', 'item', 1),
  ('TRG', 'tc', 'itm', '001', 'ikey', 'stat', 2),
  ('SRC', 'ti', 'itm', '010', 'ikey', 'item', 1),
  ('SRC', 'ti', 'itm', '010', 'ikey', 'cntr', 2);

INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TRG', 'tc', 'item', 'S', '16', NULL, NULL, 'Left', 'Upper'),
  ('TRG', 'tc', 'desc', 'M', '30', NULL, NULL, NULL, NULL),
  ('TRG', 'tc', 'qty',  'I', '9',  '0', '9', 'Right', NULL),
  ('TRG', 'tc', 'amnt', 'D', '15', '2', '12', 'Right', NULL),
  ('TRG', 'tc', 'date', 'K', '',   NULL, NULL, NULL, NULL),
  ('TRG', 'tc', 'stat', 'E', '2',  NULL, NULL, NULL, NULL),
  ('SRC', 'ti', 'item', 'S', '16', NULL, NULL, 'Left', NULL),
  ('SRC', 'ti', 'desc', 'S', '30', NULL, NULL, NULL, NULL),
  ('SRC', 'ti', 'qty',  'L', '9',  '0', '9', NULL, NULL),
  ('SRC', 'ti', 'amnt', 'F', '15', '4', '11', NULL, NULL);

INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES
  ('TRG', 'tc', 'stat', 'active', '1'),
  ('TRG', 'tc', 'stat', 'blocked', '2');

INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TRG', 'tc', 'spl', '001');

INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TRG', 'tc', 'spl', '001', 'item', 1, 'tcitem', NULL, 0, 'Y', 'N'),
  ('TRG', 'tc', 'spl', '001', 'price', 2, 'tcamnt', NULL, 0, 'N', 'N');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'spl', '001', 'V',
   'migrate tiitm001' || char(13) || char(10) || 'migrate tiitm010', 'Item prices, split over worker shells',
   'tiitm001,tiitm010', 0, NULL);

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'spl', '001', 'ti', 'itm', '001', 'S',
   'select tiitm001.* from tiitm001 where tiitm001.item <> " "'),
  (20, 'V200', '01', 'ACME', 'tc', 'spl', '001', 'ti', 'itm', '010', 'S',
   'select tiitm010.* from tiitm010 order by tiitm010._index1');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'spl', '001', 'item', 'tiitm001.item', 0, 1),
  (20, 'V200', '01', 'ACME', 'tc', 'spl', '001', 'price', 'tiitm010.prce', 0, 1);

INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES
  ('tcspl001', 'tiitm001', 'item'),
  ('tcspl001', 'tiitm010', 'INDEX1');

INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme, apln) VALUES
  (30, 'LEG', 'TRG', 'L300', '01', 'ACME', '', '', '', 1, 'N', 'LOOK');

INSERT INTO qxddi100 (appl, extn) VALUES ('TRG', 1);

INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TRG', 'tc', 'cus', '001'), ('TRG', 'tc', 'cus', '002'),
  ('TRG', 'tc', 'cus', '003'), ('TRG', 'tc', 'cus', '004'),
  ('TRG', 'tc', 'spl', '002');

INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TRG', 'tc', 'cus', '001', 'cuno', 1, 'tcitem', NULL, 0, 'Y', 'N'),
  ('TRG', 'tc', 'cus', '001', 'nama', 2, 'tcdesc', NULL, 0, 'N', 'N'),
  ('TRG', 'tc', 'cus', '001', 'cste', 3, 'tcdesc', NULL, 0, 'N', 'N'),
  ('TRG', 'tc', 'cus', '001', 'telp', 4, 'tcdesc', NULL, 0, 'N', 'N'),
  ('TRG', 'tc', 'cus', '001', 'stat', 5, 'tcstat', '1', 0, 'N', 'N'),
  ('TRG', 'tc', 'cus', '002', 'suno', 1, 'tcitem', NULL, 0, 'Y', 'N'),
  ('TRG', 'tc', 'cus', '002', 'nama', 2, 'tcdesc', NULL, 0, 'N', 'N'),
  ('TRG', 'tc', 'cus', '002', 'prce', 3, 'tcamnt', NULL, 0, 'N', 'N'),
  ('TRG', 'tc', 'cus', '003', 'cuno', 1, 'tcitem', NULL, 0, 'Y', 'N'),
  ('TRG', 'tc', 'cus', '003', 'cont', 2, 'tcdesc', NULL, 0, 'N', 'N'),
  ('TRG', 'tc', 'cus', '004', 'cuno', 1, 'tcitem', NULL, 0, 'Y', 'N'),
  ('TRG', 'tc', 'cus', '004', 'city', 2, 'tcdesc', NULL, 0, 'N', 'N'),
  ('TRG', 'tc', 'spl', '002', 'cuno', 1, 'tcitem', NULL, 0, 'Y', 'N'),
  ('TRG', 'tc', 'spl', '002', 'nama', 2, 'tcdesc', NULL, 0, 'N', 'N');

INSERT INTO qxlgy140 (appl, cpac, cmod, flno, sour, logn, pswd) VALUES
  ('LEG', 'qx', 'tbl', 'supp', 'legacy_dsn', 'migrator', 'demo-only');

INSERT INTO qxlgy141 (appl, cpac, cmod, flno, sepr, tcol, nskp) VALUES
  ('LEG', 'qx', 'fil', 'cust.txt', ',', 1, 1),
  ('LEG', 'qx', 'fil', 'prices.txt', NULL, NULL, 0);

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos) VALUES
  ('LEG', 'qx', 'fil', 'cust.txt', 'CODE', 1, 'L', NULL, NULL),
  ('LEG', 'qx', 'fil', 'cust.txt', 'NAME$', 2, 'U', NULL, NULL),
  ('LEG', 'qx', 'fil', 'cust.txt', 'STATE', 3, 'U', NULL, NULL),
  ('LEG', 'qx', 'fil', 'cust.txt', 'PHONE', 4, 'U', NULL, NULL),
  ('LEG', 'qx', 'fil', 'cust.txt', 'OPENED', 5, 'T', NULL, NULL),
  ('LEG', 'qx', 'fil', 'prices.txt', 'SUPNO', 1, 'L', 1, 7),
  ('LEG', 'qx', 'fil', 'prices.txt', 'PRICE', 2, 'D', 7, 17),
  ('LEG', 'qx', 'tbl', 'supp', 'SUPNO', 1, 'L', NULL, NULL),
  ('LEG', 'qx', 'tbl', 'supp', 'NAME$', 2, 'U', NULL, NULL),
  ('LEG', 'qx', 'tbl', 'supp', 'ACTIVE', 3, 'I', NULL, NULL);

INSERT INTO qxlgy115 (code, ival, oval) VALUES
  ('STATE', 'NY', 'New York'), ('STATE', 'CA', 'California'),
  ('PAY', '1', 'cash & card'), ('PAY', '2', 'invoice');

INSERT INTO qxddi101 (appl, sour, logn, pswd) VALUES ('LOOK', 'lookup_dsn', 'reader', 'demo-only');

INSERT INTO qxlib100 (mprf, vers, rele, cust, fnam, fdef) VALUES
  (30, 'L300', '01', 'ACME', 'fmt_phone',
   'table supp' || char(13) || char(10) ||
   'function fmt_phone(strPhone)' || char(13) || char(10) ||
   '  fmt_phone = replace(strPhone, "-", "")' || char(13) || char(10) ||
   'end function');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'V', 'migrate cust.txt', 'Customers from a flat file', 'cust.txt', 0,
   '#include <fmt_phone>' || char(13) || char(10) ||
   '''#include <old_phone> stays a comment' || char(13) || char(10) ||
   'dim banner : banner = "#include <not_a_function>"' || char(13) || char(10) ||
   'dim var.count'),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '002', 'V',
   'migrate supp' || char(13) || char(10) || 'migrate prices.txt', 'Suppliers from a foreign table and their prices', 'supp,prices.txt', 0, NULL),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '003', 'G', 'migrate cust.txt', 'Contacts', 'cust.txt', 1, NULL),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '004', 'G', '', 'Addresses', 'cust.txt', 1, NULL),
  (30, 'L300', '01', 'ACME', 'tc', 'grp', '001', 'G', 'migrate cust.txt', 'Contacts and addresses', 'cust.txt', 0, NULL),
  (30, 'L300', '01', 'ACME', 'tc', 'spl', '002', 'V', 'migrate cust.txt', 'Customers, split over worker shells', 'cust.txt', 0, NULL);

INSERT INTO qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno) VALUES
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '003', 'tc', 'grp', '001'),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '004', 'tc', 'grp', '001');

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'qx', 'fil', 'cust.txt', 'S',
   'select * from cust.txt where cust.STATE <> "XX"'),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'qx', 'fil', 'cust.txt', 'D', 'var.count = var.count + 1'),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '002', 'qx', 'tbl', 'supp', 'S',
   'select supp.SUPNO, supp.NAME$ as supp_NAME from supp where supp.ACTIVE = 1 order by supp.SUPNO'),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '002', 'qx', 'fil', 'prices.txt', 'S',
   'select prices.* from prices.txt'),
  (30, 'L300', '01', 'ACME', 'tc', 'grp', '001', 'qx', 'fil', 'cust.txt', 'S', 'select * from cust.txt'),
  (30, 'L300', '01', 'ACME', 'tc', 'spl', '002', 'qx', 'fil', 'cust.txt', 'S', 'select * from cust.txt');

INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001',
   'function state_name(strCode)' || char(13) || char(10) ||
   '  state_name = get.code.STATE(strCode)' || char(13) || char(10) || 'end function');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'cuno', 'cust.CODE', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'nama', 'cust.NAME$', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'cste', 'get.code.STATE(cust.STATE)', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'telp', 'fmt_phone(cust.PHONE)', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '001', 'stat', 'target(tcstat.active)', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '002', 'suno', 'supp.SUPNO', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '002', 'nama', 'supp.NAME$', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '002', 'prce', 'prices.PRICE', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '003', 'cuno', 'cust.CODE', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '003', 'cont', 'cust.NAME$', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '004', 'cuno', 'cust.CODE', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'cus', '004', 'city', '"unknown"', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'spl', '002', 'cuno', 'cust.CODE', 0, 1),
  (30, 'L300', '01', 'ACME', 'tc', 'spl', '002', 'nama', 'cust.NAME$', 0, 1);

INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES
  ('tcspl002', 'cust.txt', 'CODE');
)SQL";
}

}  // namespace mx::cli
