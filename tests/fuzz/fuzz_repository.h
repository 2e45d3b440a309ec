// A generator context for the fuzz targets whose operations read the
// repository: an in-memory SQLite repository with the shipped schema and a
// few rows, reached through the embedded backend as a run reaches it (the
// dialect rewrite and the parameter binding included), and a log kept in
// memory.
#ifndef MX_TESTS_FUZZ_FUZZ_REPOSITORY_H_
#define MX_TESTS_FUZZ_FUZZ_REPOSITORY_H_

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "movx20xmlgen/text_stream.h"
#include "repository/schema.h"
#include "repository/sqlite_connection.h"
#include "testing/test_context.h"

namespace mx::fuzz {

class FuzzRepository {
 public:
  // `rows`: INSERT statements in SQLite's dialect. A script that does not
  // load stops the process: the target would test nothing.
  FuzzRepository(GeneratorKind kind, const std::string& rows) : t(kind) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    const std::string script =
        repository::SqliteSchema() + repository::SqliteIndexes() + rows;
    char* message = nullptr;
    if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
      std::fprintf(stderr, "the fuzz repository does not load: %s\n", message);
      std::abort();
    }
    t.object.connections.Adopt(t.object.settings.connection_string,
                               repository::SqliteConnection::Adopt(db));
    t.object.reporter.set_log(log);
  }

  // A fresh document and an empty log for the next input.
  void NewInput() {
    t.NewDocument();
    log = std::make_shared<StringTextStream>();
    t.object.reporter.set_log(log);
  }

  testing::TestContext t;
  std::shared_ptr<StringTextStream> log = std::make_shared<StringTextStream>();
};

}  // namespace mx::fuzz

#endif  // MX_TESTS_FUZZ_FUZZ_REPOSITORY_H_
