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
//   tcord006 returns      member of an M-script
const char* DemoRepositoryScript() {
  return R"SQL(
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme, apln) VALUES
  (10, 'SRC', 'TRG', 'BASE', '01', 'STD', '', '', '', 1, 'N', NULL),
  (20, 'SRC', 'TRG', 'V200', '01', 'ACME', 'BASE', '01', 'STD', 2, 'N', NULL);

INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('TRG', 'tc', 'itm', '001'), ('TRG', 'tc', 'itm', '002'),
  ('TRG', 'tc', 'ord', '001'), ('TRG', 'tc', 'ord', '002'),
  ('TRG', 'tc', 'ord', '003'), ('TRG', 'tc', 'ord', '004'),
  ('TRG', 'tc', 'ord', '005'), ('TRG', 'tc', 'ord', '006');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms, vari) VALUES
  (20, 'V200', '01', 'ACME', 'tc', 'itm', '001', 'V',
   'select.do = target(tcstat.active)' || char(13) || char(10) ||
   '| only items with price < 1000 & active' || char(13) || char(10) ||
   'migrate.items = true', 'Item master', 'tiitm001,tiitm010', 0, NULL),
  (10, 'BASE', '01', 'STD ', 'tc', 'itm', '002', 'G', '', 'Prices from the base profile', 'tiprc001', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '001', 'X', 'old', NULL, 'tdsls040', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '002', 'D', NULL, 'Lines follow the orders', NULL, 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '003', 'M', NULL, NULL, 'tdsls045', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '005', 'V',
   'amount = empty()', 'Invoices', 'cisli205', 0, NULL),
  (20, 'V200', '01', 'ACME', 'tc', 'ord', '006', 'G', '', 'Returns', 'tdsls050', 1, NULL);

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
  ('TRG', 'tc', 'ord', '005', 'invn',    1, 'tcitem', NULL,  0, 'Y', 'N');

INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('TRG', 'tc', 'itm', '001', 'ikey', 'item', 1),
  ('TRG', 'tc', 'itm', '001', 'ikey', 'stat', 2);

INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TRG', 'tc', 'item', 'S', '16', NULL, NULL, 'Left', 'Upper'),
  ('TRG', 'tc', 'desc', 'M', '30', NULL, NULL, NULL, NULL),
  ('TRG', 'tc', 'qty',  'I', '9',  '0', '9', 'Right', NULL),
  ('TRG', 'tc', 'amnt', 'D', '15', '2', '12', 'Right', NULL),
  ('TRG', 'tc', 'date', 'K', '',   NULL, NULL, NULL, NULL),
  ('TRG', 'tc', 'stat', 'E', '2',  NULL, NULL, NULL, NULL);

INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES
  ('TRG', 'tc', 'stat', 'active', '1'),
  ('TRG', 'tc', 'stat', 'blocked', '2');
)SQL";
}

}  // namespace mx::cli
