-- The fields of dd_dump_branches with their mandatory flags in lower case
-- (an enumeration and two dates): the dumps treat them as mandatory, as the
-- initial values do, and the document is the same byte for byte.
UPDATE qxddi150 SET mand = 'y' WHERE appl = 'TAPP' AND fdnm IN ('enum', 'when', 'tv4');
