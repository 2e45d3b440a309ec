-- ClearXMLDirectory set to a word that is not a Boolean: error 13 (Type
-- mismatch), and the output folder is not cleared.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
