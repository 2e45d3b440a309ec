-- The side files of legacy_side_files with a lookup application that has no
-- connection data: the lookup-application file is left empty and the run
-- stops with error 124 after Schema.ini.
UPDATE qxmap100 SET apln = 'NONE' WHERE mprf = 7;
