// A repository connection: sends one SQL text and returns every row. The text
// is built by the component in the original server's dialect and in
// Windows-1252; each backend adapts it to its engine and converts the rows'
// texts back to Windows-1252. Failures raise VbError with the platform's
// numbers (a refused query -2147217900, a failed connection -2147467259).
#ifndef MX_REPOSITORY_CONNECTION_H_
#define MX_REPOSITORY_CONNECTION_H_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "movx20xmlgen/error.h"
#include "movx20xmlgen/variant.h"

namespace mx::repository {

struct ResultSet {
  std::vector<std::string> columns;  // as the engine names them
  std::vector<std::vector<Variant>> rows;
};

class Connection {
 public:
  virtual ~Connection() = default;
  virtual ResultSet Execute(const std::string& sql) = 0;
  // The same answer, for readers that only read it: a connection that keeps
  // its results hands out the kept one instead of a copy. By default the
  // answer of Execute.
  virtual std::shared_ptr<const ResultSet> ExecuteShared(
      const std::string& sql) {
    return std::make_shared<const ResultSet>(Execute(sql));
  }

  // A read scope: between the two calls the repository is read as one
  // snapshot (a read transaction where the backend has one), so that a
  // decorator may answer a text it has answered before from memory. Scopes
  // do not nest. EndReadScope never fails: a backend that cannot end its
  // transaction cleanly abandons it. The default has no snapshot.
  virtual void BeginReadScope() {}
  virtual void EndReadScope() noexcept {}

  // Inside a read scope: how many queries of the scope should reach the
  // repository before a run-scoped copy (TakeSnapshot) pays for itself; 0
  // for at once, nullopt when a copy would not pay (the repository answers as
  // fast) or could not answer as the repository does (its comparisons differ
  // from the embedded backend's). May send statements of its own. The
  // default offers no copy.
  virtual std::optional<int64_t> QueriesBeforeSnapshot() {
    return std::nullopt;
  }
  // Inside a read scope: a copy of the repository as the scope reads it, in
  // a database of the run's own with the lookup indexes, which answers a
  // query of the tables it copied with the columns and rows the repository
  // gives. Raises VbError when the copy fails.
  virtual std::unique_ptr<Connection> TakeSnapshot() { return nullptr; }
  // Inside a read scope: a second connection, for use on another thread,
  // whose own read scope (begun by its owner) reads the state this scope
  // reads for as long as this scope lasts; nullptr when the backend cannot
  // promise that. The default cannot.
  virtual std::unique_ptr<Connection> OpenReader() { return nullptr; }
};

// True for the errors a repository raises when it cannot answer (a refused
// query, a lost connection, text it cannot convert), as opposed to errors of
// the data it answered with. A lookup that reads a missing answer as "not
// found" must let these through: the document would otherwise be written
// from an answer the repository never gave.
inline bool IsRepositoryFailure(const VbError& error) {
  return error.number() == errors::kQueryRefused ||
         error.number() == errors::kCannotConnect ||
         error.number() == errors::kConversionFailed;
}

// Opens the backend that the connection string names: "Data Source=FILE"
// (with or without "Provider=SQLite") the embedded SQLite backend; "Driver=",
// "DSN=" or "FILEDSN=" strings, and the SQL Server providers' strings
// translated for the SQL Server driver, the ODBC backend. Raises -2147467259
// when the string names nothing we can open.
std::unique_ptr<Connection> OpenConnection(
    const std::string& connection_string);

// The key=value pairs of an ADO-style connection string: keys trimmed and
// lower-cased, values trimmed and unquoted ("..." or '...', where a doubled
// quote stands for one and ";" is no separator). A later pair replaces an
// earlier one with the same key. Raises -2147467259 for an entry without "="
// or an unterminated quote.
std::map<std::string, std::string> ParseConnectionString(
    std::string_view connection_string);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_CONNECTION_H_
