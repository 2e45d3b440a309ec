// The SQLite backend of a repository connection. The file is opened
// read-only and must exist. Queries arrive in the original server's dialect
// and in Windows-1252; they are adapted (see dialect.h), converted to UTF-8
// and run to their last row. Integers come back as whole numbers, reals as
// doubles, NULL as Null, texts (and blobs) converted to Windows-1252.
//
// Queries that differ only in their compared values share one prepared
// statement (see sql_parameters.h): the connection keeps the most recently
// used statements and binds each query's values. What the adaptation makes of
// a query is remembered per form of query (see query_forms.h). Rows come in
// the order a repository without indexes gives them (see row_order.h). A read
// scope is one read transaction (BEGIN ... COMMIT).
//
// A repository file without the lookup indexes (one written by another tool)
// offers a run-scoped copy that has them (see snapshot_database.h).
#ifndef MX_REPOSITORY_SQLITE_CONNECTION_H_
#define MX_REPOSITORY_SQLITE_CONNECTION_H_

#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "repository/connection.h"
#include "repository/query_forms.h"
#include "repository/row_maps.h"

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace mx::repository {

// The text SQLite is given for a query of the component: the dialect
// rewrite (dialect.h), UTF-8, and the storage order stated (row_order.h).
// Its values are then bound as parameters (sql_parameters.h).
std::string SqliteQueryText(const std::string& component_sql);

// Settles SQLite's process-wide settings before its first database opens,
// whatever opens it first (a repository file, or the run's copy of a
// server's tables): no memory statistics, whose mutex every allocation of
// every thread would otherwise take.
void ConfigureSqliteOnce();

class SqliteConnection : public Connection {
 public:
  // Raises -2147467259 naming the file when it is missing or not a database.
  static std::unique_ptr<SqliteConnection> Open(const std::string& path_utf8);

  // A connection on a database opened elsewhere, which it owns from now on.
  static std::unique_ptr<SqliteConnection> Adopt(sqlite3* db);
  // The same for a database in a temporary file of the run's own at
  // `path_utf8`, which readers open by its name and which is removed when
  // this connection closes.
  static std::unique_ptr<SqliteConnection> AdoptTemporary(
      sqlite3* db, const std::string& path_utf8);

  ~SqliteConnection() override;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // A query SQLite refuses raises -2147217900 with SQLite's message; a text
  // value that is not valid UTF-8 raises errors::kConversionFailed.
  ResultSet Execute(const std::string& sql) override;
  void BeginReadScope() override;
  void EndReadScope() noexcept override;

  // A file that carries every lookup index (schema.h) answers as fast as a
  // copy would: no copy. Any other file is copied at once, pages and all,
  // and the copy gets the indexes.
  std::optional<int64_t> QueriesBeforeSnapshot() override;
  std::unique_ptr<Connection> TakeSnapshot() override;
  // The same file opened again, while this connection holds the read
  // transaction's shared lock (no writer can commit until it ends). A file
  // in write-ahead-log mode gives none: a writer's commit between the two
  // transactions would make them read different states; one opened as an
  // unchanging file does.
  std::unique_ptr<Connection> OpenReader() override;

  // The maps of the run's copy (row_maps.h) that this database holds the
  // rows of: the queries they serve read their rows through them, here and
  // in every reader. False when SQLite refuses them (queries then find
  // their rows without).
  bool UseRowMaps(std::shared_ptr<const RowMaps> maps);

 private:
  // Opens `name` (a path, or a URI with SQLITE_OPEN_URI in `flags`); errors
  // name `path_utf8`.
  static std::unique_ptr<SqliteConnection> OpenAs(const std::string& path_utf8,
                                                  const std::string& name,
                                                  int flags);

  // Prepared statements by their (parameterised) text, most recently used
  // first, finalized when they fall off the end; with the names of their
  // columns once asked for.
  class StatementCache {
   public:
    static constexpr size_t kCapacity = 64;
    ~StatementCache() { Clear(); }
    sqlite3_stmt* Find(const std::string& text);
    void Add(std::string text, sqlite3_stmt* statement);  // takes ownership
    void Remove(sqlite3_stmt* statement);
    void Clear();
    // The column names of a kept statement, read from SQLite the first time.
    const std::vector<std::string>& Columns(sqlite3_stmt* statement);

   private:
    struct Entry {
      std::string text;
      sqlite3_stmt* statement;
      std::optional<std::vector<std::string>> columns;
    };
    using Entries = std::list<Entry>;
    void Drop(Entries::iterator entry);

    Entries entries_;
    std::unordered_map<std::string_view, Entries::iterator> by_text_;
    std::unordered_map<sqlite3_stmt*, Entries::iterator> by_statement_;
  };

  explicit SqliteConnection(sqlite3* db) : db_(db) {}
  bool HoldsSharedLock();
  sqlite3_stmt* StatementFor(const std::string& sql_utf8);
  bool ScalarValue(const std::string& subquery, sqlite3_value** value);
  // The same statements, values and subqueries, from the query's form.
  sqlite3_stmt* StatementOfForm(const std::string& sql);
  sqlite3_stmt* BoundStatement(const StatementForm& form);
  bool ScalarValueOfForm(const StatementForm& subquery, sqlite3_value** value);

  sqlite3* db_;  // owned
  // How the file was opened (empty for a database opened elsewhere), so that
  // a reader opens it alike.
  std::string path_utf8_;
  std::string open_name_;
  int open_flags_ = 0;
  bool remove_on_close_ = false;
  StatementCache statements_;
  QueryForms forms_;
  std::shared_ptr<const RowMaps> row_maps_;
  QueryLiterals literals_;  // of the query being run
  // Inside a read scope the schema cannot change, so column names are read
  // once per statement; outside one they are read for every query.
  bool in_read_scope_ = false;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SQLITE_CONNECTION_H_
