// The ODBC backend of a repository connection: a database server reached
// through the driver manager (unixODBC). The connection string goes to the
// driver manager as it is. The query text is adapted to the server that the
// driver names (SQL_DBMS_NAME): SQL Server gets the component's text as it was
// built, PostgreSQL and SQLite get the "+" rewrite of the embedded backend;
// PostgreSQL also gets the order of rows stated as SQLite gives it (see
// KeepPostgresStorageOrder).
// Rows come back as the embedded backend gives them: whole numbers for integer
// and Boolean columns (0 and 1), doubles for floating-point columns, Null, and
// texts read as UTF-16 and converted to Windows-1252. Log-in and statements
// have time-outs, so a server that vanishes gives an error, not a hang. A
// lost connection is opened again for the next query, except within a read
// scope: its snapshot is gone, so the scope's later queries fail too.
#ifndef MX_REPOSITORY_ODBC_CONNECTION_H_
#define MX_REPOSITORY_ODBC_CONNECTION_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "repository/connection.h"

namespace mx::repository {

namespace odbc {
class Handle;
class Session;
struct ServerTable;
}  // namespace odbc

// How the component's query text reaches a server.
enum class QueryDialect {
  kAsBuilt,       // the original server's own dialect
  kPlusToConcat,  // "+" outside literals becomes "||"
};

// By the DBMS name the driver reports: "PostgreSQL" and "SQLite" concatenate
// with "||"; SQL Server, and any server we know nothing of, get the text as
// built.
QueryDialect DialectForDbms(std::string_view dbms_name);

struct OdbcTimeouts {
  int login_seconds = 15;  // ADO's default ConnectionTimeout
  int query_seconds = 30;  // ADO's default CommandTimeout
};

class OdbcConnection : public Connection {
 public:
  // Connects at once. `target` names what is connected to in errors (see
  // OdbcTarget); a refused or failed log-in raises -2147467259 with
  // "Cannot connect through " + target + ": " + the driver's message.
  static std::unique_ptr<OdbcConnection> Open(
      const std::string& connection_string, const std::string& target,
      OdbcTimeouts timeouts = {});

  ~OdbcConnection() override;
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // A refused query raises -2147217900 with the driver's message; a lost
  // connection -2147467259. A text that is not valid UTF-16 raises
  // errors::kConversionFailed.
  ResultSet Execute(const std::string& sql) override;

  // On PostgreSQL a read scope is a REPEATABLE READ transaction, which takes
  // no row locks there; a refused query ends it and the next query starts a
  // new one. Other servers read each query as it comes: their repeatable
  // reads would lock the shared repository for the whole run.
  void BeginReadScope() override;
  void EndReadScope() noexcept override;

  // PostgreSQL offers a run-scoped copy of the repository tables it holds
  // (read in the scope's transaction, in storage order) once a run has sent
  // about one query for every kBytesPerQuery bytes they take on the server
  // (as the catalog says, without reading them): a run of a few objects
  // keeps sending its queries, a long run reads each table once.
  // No copy when a text column does not compare as the embedded backend
  // does (a type or collation of its own), nor on other servers (SQL
  // Server may compare without regard to case): their queries go to the
  // server.
  static constexpr int64_t kBytesPerQuery = 64 * 1024;
  std::optional<int64_t> QueriesBeforeSnapshot() override;
  std::unique_ptr<Connection> TakeSnapshot() override;

  const std::string& dbms_name() const { return dbms_name_; }
  // Statements sent to the server since the connection was opened.
  uint64_t statements_sent() const { return statements_sent_; }

 private:
  explicit OdbcConnection(std::unique_ptr<odbc::Session> session);

  ResultSet Run(const std::string& sql);
  // Runs `sql` as it stands; the statement, ready to fetch from.
  odbc::Handle Send(const std::string& sql);
  // The repository tables the server holds, with the snapshot types of
  // their columns; nullopt when one of them does not compare as the
  // embedded backend does. One statement, on the catalog.
  // Adds the bytes the tables take on the server to `*bytes`.
  std::optional<std::vector<odbc::ServerTable>> TablesToCopy(int64_t* bytes);

  std::unique_ptr<odbc::Session> session_;
  std::string dbms_name_;
  QueryDialect dialect_ = QueryDialect::kAsBuilt;
  bool postgres_ = false;  // row order stated, read scopes as snapshots
  bool in_scope_ = false;
  std::string lost_in_scope_;  // why the scope's connection was lost
  std::vector<odbc::ServerTable> tables_to_copy_;  // of the scope, once asked
  uint64_t statements_sent_ = 0;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_ODBC_CONNECTION_H_
