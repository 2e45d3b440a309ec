INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES ('TAPP', 'ab', 'color', 'red', '1');
