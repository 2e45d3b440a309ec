#include "cli/usage.h"

namespace mx::cli {

const char* MainHelp() {
  return R"TXT(movx20xmlgen - writes the conversion-object XML documents of a migration
profile from a workbench repository.

Usage:
  movx20xmlgen generate --connection STR --profile N --xml-path DIR [options]
  movx20xmlgen call [--legacy] --connection STR [--set NAME=VALUE ...] METHOD [ARG ...]
  movx20xmlgen call [--legacy] --list
  movx20xmlgen decipher FILE [--out FILE]
  movx20xmlgen repo init FILE
  movx20xmlgen repo copy FROM TO
  movx20xmlgen demo [DIR]
  movx20xmlgen COMMAND --help
  movx20xmlgen --version

Commands:
  generate   run GenerateXMLFile for a profile and write its documents
  call       call one public method of a generator class and print the result;
             --list prints every public method and property of the class
  decipher   print the plain text of a file that the legacy class enciphered
  repo init  create an empty SQLite repository with every table the tool reads
  repo copy  copy a repository into a database server through ODBC
  demo       build a demo repository in DIR and generate its documents
  --version  print the program's version

Exit status: generate gives 0 when GenerateXMLFile returned True and 1 when it
returned False, 130 or 143 when SIGINT or SIGTERM stopped it (after the
object in hand, with the log written up to there); call gives 0 when the
method returned and 1 when an error escaped it; decipher gives 0 when the
plain text was written and 1 when it was not; every command gives 2 on a
usage error and 3 on any other error
that stops it (reported in one line on standard error).
)TXT";
}

const char* GenerateHelp() {
  return R"TXT(Usage: movx20xmlgen generate --connection STR --profile N --xml-path DIR
         [--legacy] [--from CODE --to CODE | --select LIST] [--option N]
         [--traverse | --no-traverse] [--checked-out] [--split]
         [--row-size-check] [--clear] [--schema-ini-path DIR] [--user NAME]
         [--log FILE] [--now "YYYY-MM-DD HH:MM:SS"] [--json]
         [--trace FILE] [--no-cache] [--threads N] [--results FILE]
         [--report FILE]

Generates one XML document per selected conversion object of profile N into
DIR/<package><module>/x<table>0.XML.

  --connection STR     repository connection string, e.g. "Data Source=repo.sqlite"
  --profile N          migration profile number
  --xml-path DIR       output folder (must exist unless --clear is given)
  --legacy             use the legacy-source class (ClsXMLLegacy)
  --from CODE --to CODE
                       range of target tables; a code is package (2 characters),
                       module (3) and table number (the rest), e.g. abcde001
  --select LIST        comma-separated table codes (blanks around a code do not
                       count); replaces the range
  --option N           XMLGenerationOption 0-5 (which mapping statuses to write)
  --traverse, --no-traverse
                       look, or do not look, for mappings in parent profiles
  --checked-out        use checked-out versions and accept status C
  --split              split the conversion over several worker shells
  --row-size-check     add the row-size declarations (Include2GBCheck)
  --clear              delete and re-create the output folder first; refused
                       when the folder holds the repository, the log, the
                       trace or the current folder
  --schema-ini-path DIR  folder for Schema.ini (legacy)
  --user NAME          user name (stored only)
  --log FILE           write the log to FILE (Windows-1252, CR LF) instead of
                       standard error, a line at a time as the run goes; "-"
                       is standard output. FILE must not be the repository
  --now TIME           fix the time written into log lines
  --json               print the result as one JSON object on standard output,
                       with the summary counts successful, mscript,
                       no_mapping, errors and total
  --trace FILE         write every query the run sends to FILE, one per line
                       in the order sent, as built (Windows-1252); within a
                       query "\" is written "\\", CR "\r" and LF "\n", and
                       each line ends in LF. Queries the read cache answers
                       are traced too.
  --no-cache           send every query to the repository: no read cache
                       (the documents and the log are the same either way)
  --threads N          threads that build documents, 1 to 64: the run's own
                       and N-1 that build the documents of the coming tables
                       ahead (both classes, unless --no-cache, on an SQLite
                       file or the run's copy of a repository; elsewhere
                       the run builds each document in turn; M-scripts are
                       always built in turn). The
                       default is one a processor, at most 4. The documents,
                       the log and the order files appear in are the same
                       whatever N
  --results FILE       write the run's results to FILE as one JSON document
                       (settings without the password, start and end, the
                       summary counts, one entry per target table with its
                       status, error and documents), after the run, also
                       after a run stopped by a signal; see the README
  --report FILE        write a report page of the same results to FILE: one
                       HTML file with the counts, a table of the target
                       tables to sort and filter, every failure and links to
                       the documents
)TXT";
}

const char* CallHelp() {
  return R"TXT(Usage: movx20xmlgen call [--legacy] --connection STR [--set NAME=VALUE ...] METHOD [ARG ...]
       movx20xmlgen call [--legacy] --list

Creates the data-dictionary class (or with --legacy the legacy class), sets
ConnectionString and every --set property in order, calls METHOD with the
arguments given (by-reference arguments may be left out), and prints a JSON
object with "result", every by-reference argument by its parameter name and
"ErrorDescription". --set LogFileName=FILE opens FILE as the log of the call.

--list prints every public method and property of the class instead, one a
line with its dispatch id: a property with its type and whether it is read,
written or set (an object, by reference); a method with its parameters,
their types, ByVal or ByRef, and what it returns.

Example:
  movx20xmlgen call --connection "Data Source=repo.sqlite" \
      Replace_Empty_Default_Target SRC TRG "x = target(pkcolor.red)"
)TXT";
}

const char* RepoHelp() {
  return R"TXT(Usage: movx20xmlgen repo init FILE
       movx20xmlgen repo copy FROM TO

init  creates FILE as an empty SQLite repository with every table the
      generators read. An existing file is never overwritten.

copy  copies every table of the SQLite repository FROM (a file, or
      "Data Source=FILE") into the PostgreSQL database that the ODBC
      connection string TO reaches, in one transaction; tables that exist
      there already make the copy fail and nothing is kept. Text columns
      compare without trailing blanks there, as in the SQLite repository.
      The generators then read the server with --connection TO.

Example:
  movx20xmlgen repo copy repo.sqlite \
      "Driver={PostgreSQL Unicode};Server=db;Database=repo;UID=mx;PWD=..."
)TXT";
}

const char* DemoHelp() {
  return R"TXT(Usage: movx20xmlgen demo [DIR]

Builds a small demo repository in DIR (default: ./movx20xmlgen-demo) and runs
four generations over it, each into a folder and a log of its own:

  xml/           demo.log               the data-dictionary class
  xml-split/     demo-split.log         the same class, split over worker shells
  legacy/        demo-legacy.log        the legacy class, with Schema.ini, the
                                        lookup-application file and the
                                        conversion codes beside its documents
  legacy-split/  demo-legacy-split.log  the legacy class, split, with the split
                                        information file

The legacy class enciphers its documents and conversion codes; the demo
writes their plain text below DIR/deciphered (what `movx20xmlgen decipher
FILE` prints). It then prints every file it made. DIR must be new, empty or
the folder of an earlier demo: a folder holding anything else is refused,
nothing deleted.
)TXT";
}

const char* DecipherHelp() {
  return R"TXT(Usage: movx20xmlgen decipher FILE [--out FILE]

Prints the plain text of FILE, a file that the legacy class wrote enciphered
(its documents and side files), byte for byte as the class would have written
it unenciphered: Windows-1252 text with CR LF line ends. An enciphered file
is its 10-byte salt followed by the enciphered text, one byte per character.

  --out FILE   write the plain text to FILE instead, whole (a temporary file
               renamed over FILE). FILE must not be the input file, under
               its own or any other name.

Exit status: 0 when the plain text was written; 1 when FILE cannot be read,
holds fewer than the 10 bytes of a salt, or the plain text cannot be
written; 2 on a usage error, --out naming the input file included.
)TXT";
}

}  // namespace mx::cli
