// The ODBC calls the server backend and the repository copier share, behind
// owning handles: a session on one connection string (connect with time-outs,
// run a statement, read the driver's diagnostics, detect a dead connection)
// and the conversions between the component's Windows-1252 text and the
// driver manager's UTF-16. Every failure raises VbError: a connection that
// cannot be made or was lost -2147467259, any other refusal -2147217900, each
// with the driver's own message on one line.
#ifndef MX_REPOSITORY_ODBC_API_H_
#define MX_REPOSITORY_ODBC_API_H_

#include <sql.h>
#include <sqlext.h>

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "movx20xmlgen/error.h"

namespace mx::repository::odbc {

static_assert(sizeof(SQLWCHAR) == 2, "unixODBC must use UTF-16 SQLWCHAR");

// The source of every error the ODBC backend raises: ADO named the ODBC
// bridge so in Err.Source.
inline constexpr char kErrorSource[] =
    "Microsoft OLE DB Provider for ODBC Drivers";

using WideText = std::vector<SQLWCHAR>;  // UTF-16, no terminator

// UTF-8 to UTF-16; nullopt when the input is not valid UTF-8.
std::optional<WideText> Utf8ToWide(std::string_view utf8);
// UTF-16 to UTF-8; nullopt for a lone surrogate.
std::optional<std::string> WideToUtf8(const SQLWCHAR* text, size_t length);
// The same into `*utf8`, replacing what it held (its storage is reused);
// false for a lone surrogate.
bool WideToUtf8(const SQLWCHAR* text, size_t length, std::string* utf8);
// Component text (Windows-1252) to UTF-16, with a terminator for the API.
WideText ComponentToWide(std::string_view text);
// UTF-16 to component text; characters the code page lacks are
// transliterated. nullopt for a lone surrogate.
std::optional<std::string> WideToComponent(const SQLWCHAR* text, size_t length);

// An ODBC handle, freed with the handle that owns it.
class Handle {
 public:
  Handle() = default;
  // Owns `handle`, of ODBC handle type `type`.
  Handle(SQLSMALLINT type, SQLHANDLE handle) : type_(type), handle_(handle) {}
  // A new handle of `type` under `parent`; raises when none can be had.
  static Handle Allocate(SQLSMALLINT type, SQLHANDLE parent);
  ~Handle();
  Handle(Handle&& other) noexcept;
  Handle& operator=(Handle&& other) noexcept;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE get() const { return handle_; }
  SQLSMALLINT type() const { return type_; }

 private:
  void Free();

  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

struct Diagnostic {
  std::string state;    // SQLSTATE, five characters ("" when none)
  std::string message;  // Windows-1252, line breaks folded to blanks
};

// The first diagnostic record of a handle, the one ADO reported.
Diagnostic FirstDiagnostic(const Handle& handle);

// The names of the drivers registered with the driver manager.
std::vector<std::string> InstalledDrivers();

// One connection. `label` names the target in connection errors (the driver
// or DSN as written, never a password).
class Session {
 public:
  Session(std::string connection_string, std::string label,
          SQLULEN login_timeout_seconds, SQLULEN query_timeout_seconds);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Connects when not connected, and again after a lost connection.
  void EnsureConnected();

  std::string DbmsName();
  // Statements that set the session up, run now when connected and after
  // every later connect.
  void SetConnectStatements(std::vector<std::string> statements);
  void SetAutoCommit(bool on);
  // SQL_TXN_READ_COMMITTED, SQL_TXN_REPEATABLE_READ, ...; set while no
  // transaction is open.
  void SetIsolation(SQLULEN level);
  void Commit();
  // Never fails: a transaction on a lost connection is gone anyway.
  void Rollback() noexcept;
  // True from a lost connection until the next connect.
  bool lost() const { return lost_; }

  // A fresh statement handle with the query time-out set.
  Handle NewStatement();
  // The same on the connection as it is, never a new one: a lost connection
  // raises its loss (-2147467259). For the statements of a transaction
  // whose cursors live on the connection, which may be sent while another
  // thread reads a statement answered before.
  Handle NewStatementOnThisConnection();

  // Raises the error of a failed call on `handle` of this session: a lost
  // connection (SQLSTATE class 08, or the driver reports the connection dead
  // afterwards) is -2147467259 and the session reconnects on next use; any
  // other failure is -2147217900.
  [[noreturn]] void RaiseFailure(const Handle& handle);

  const std::string& label() const { return label_; }

 private:
  void Connect();
  void RunConnectStatements();
  void Disconnect();
  bool IsDead();

  std::string connection_string_;
  std::string label_;
  SQLULEN login_timeout_seconds_;
  SQLULEN query_timeout_seconds_;
  std::vector<std::string> connect_statements_;
  Handle environment_;
  Handle connection_;
  // Read by a thread sending a statement while another reads the rows of
  // one sent before, and may find the connection lost.
  std::atomic<bool> connected_ = false;
  std::atomic<bool> lost_ = false;  // reconnect before the next statement
};

// True when `rc` is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
inline bool Succeeded(SQLRETURN rc) { return SQL_SUCCEEDED(rc); }

}  // namespace mx::repository::odbc

#endif  // MX_REPOSITORY_ODBC_API_H_
