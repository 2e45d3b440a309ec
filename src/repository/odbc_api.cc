// ODBC plumbing shared by the server backend and the copier: handles,
// diagnostics, UTF-16 text and one connection with its time-outs.
#include "repository/odbc_api.h"

#include <algorithm>
#include <utility>

#include "platform/encoding.h"
#include "platform/utf8.h"

namespace mx::repository::odbc {

namespace {

VbError CannotConnect(const std::string& description) {
  return VbError(errors::kCannotConnect, kErrorSource, description);
}

// Folds every run of blanks that holds a line break into one blank and trims
// the ends: drivers spread their messages over lines, a log line holds one.
std::string FoldLines(std::string_view text) {
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end =
        std::min(text.find_first_not_of(" \t\r\n", pos), text.size());
    if (end == pos) {
      out += text[pos++];
      continue;
    }
    const std::string_view run = text.substr(pos, end - pos);
    out += run.find_first_of("\r\n") == std::string_view::npos
               ? std::string(run)
               : std::string(" ");
    pos = end;
  }
  const size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// Driver texts (messages, names) as component text; "?" in the unlikely case
// that the driver hands over broken UTF-16.
std::string ComponentTextOf(const SQLWCHAR* text, size_t length) {
  std::optional<std::string> converted = WideToComponent(text, length);
  return converted ? *std::move(converted) : std::string("?");
}

SQLHANDLE AllocateRaw(SQLSMALLINT type, SQLHANDLE parent) {
  SQLHANDLE handle = SQL_NULL_HANDLE;
  if (!Succeeded(SQLAllocHandle(type, parent, &handle))) {
    throw CannotConnect("The ODBC driver manager cannot allocate a handle");
  }
  return handle;
}

Handle NewEnvironment() {
  Handle environment = Handle::Allocate(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION,
                reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  return environment;
}

}  // namespace

std::optional<WideText> Utf8ToWide(std::string_view utf8) {
  WideText wide;
  wide.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
      wide.push_back(static_cast<SQLWCHAR>(utf8[pos++]));
      continue;
    }
    uint32_t cp = 0;
    const size_t length = DecodeUtf8(utf8, pos, &cp);
    if (length == 0) return std::nullopt;
    pos += length;
    if (cp < 0x10000) {
      wide.push_back(static_cast<SQLWCHAR>(cp));
    } else {
      const uint32_t v = cp - 0x10000;
      wide.push_back(static_cast<SQLWCHAR>(0xD800 + (v >> 10)));
      wide.push_back(static_cast<SQLWCHAR>(0xDC00 + (v & 0x3FF)));
    }
  }
  return wide;
}

bool WideToUtf8(const SQLWCHAR* text, size_t length, std::string* utf8) {
  utf8->clear();
  for (size_t i = 0; i < length; ++i) {
    const uint32_t unit = text[i];
    if (unit < 0x80) {
      *utf8 += static_cast<char>(unit);
    } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length &&
               text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      const uint32_t low = text[++i];
      AppendUtf8(*utf8, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      return false;
    } else {
      AppendUtf8(*utf8, unit);
    }
  }
  return true;
}

std::optional<std::string> WideToUtf8(const SQLWCHAR* text, size_t length) {
  std::string utf8;
  utf8.reserve(length);
  if (!WideToUtf8(text, length, &utf8)) return std::nullopt;
  return utf8;
}

WideText ComponentToWide(std::string_view text) {
  // Windows-1252 always maps to valid UTF-8.
  WideText wide = *Utf8ToWide(Win1252ToUtf8(text));
  wide.push_back(0);
  return wide;
}

std::optional<std::string> WideToComponent(const SQLWCHAR* text,
                                           size_t length) {
  std::optional<std::string> utf8 = WideToUtf8(text, length);
  if (!utf8) return std::nullopt;
  return Utf8ToWin1252(*utf8);
}

Handle Handle::Allocate(SQLSMALLINT type, SQLHANDLE parent) {
  return Handle(type, AllocateRaw(type, parent));
}

Handle::~Handle() { Free(); }

Handle::Handle(Handle&& other) noexcept
    : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}

Handle& Handle::operator=(Handle&& other) noexcept {
  if (this != &other) {
    Free();
    type_ = other.type_;
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void Handle::Free() {
  if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
  handle_ = SQL_NULL_HANDLE;
}

Diagnostic FirstDiagnostic(const Handle& handle) {
  SQLWCHAR state[6] = {};
  SQLINTEGER native = 0;
  std::vector<SQLWCHAR> message(1024);
  SQLSMALLINT length = 0;
  SQLRETURN rc = SQLGetDiagRecW(
      handle.type(), handle.get(), 1, state, &native, message.data(),
      static_cast<SQLSMALLINT>(message.size()), &length);
  if (rc == SQL_SUCCESS_WITH_INFO &&
      length >= static_cast<SQLSMALLINT>(message.size())) {
    message.resize(static_cast<size_t>(length) + 1);
    rc = SQLGetDiagRecW(handle.type(), handle.get(), 1, state, &native,
                        message.data(),
                        static_cast<SQLSMALLINT>(message.size()), &length);
  }
  if (!Succeeded(rc)) return {};
  const size_t size =
      std::min(static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)),
               message.size() - 1);
  return {ComponentTextOf(state, 5),
          FoldLines(ComponentTextOf(message.data(), size))};
}

std::vector<std::string> InstalledDrivers() {
  Handle environment = NewEnvironment();
  std::vector<std::string> drivers;
  SQLWCHAR name[512];
  SQLWCHAR attributes[2048];
  SQLSMALLINT name_length = 0;
  SQLSMALLINT attributes_length = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (Succeeded(SQLDriversW(environment.get(), direction, name, 512,
                               &name_length, attributes, 2048,
                               &attributes_length))) {
    const size_t length = std::min<size_t>(
        static_cast<size_t>(std::max<SQLSMALLINT>(name_length, 0)), 511);
    drivers.push_back(ComponentTextOf(name, length));
    direction = SQL_FETCH_NEXT;
  }
  return drivers;
}

Session::Session(std::string connection_string, std::string label,
                 SQLULEN login_timeout_seconds, SQLULEN query_timeout_seconds)
    : connection_string_(std::move(connection_string)),
      label_(std::move(label)),
      login_timeout_seconds_(login_timeout_seconds),
      query_timeout_seconds_(query_timeout_seconds),
      environment_(NewEnvironment()) {}

Session::~Session() { Disconnect(); }

void Session::EnsureConnected() {
  if (lost_) Disconnect();
  if (!connected_) Connect();
}

void Session::Disconnect() {
  if (connected_) SQLDisconnect(connection_.get());
  connection_ = Handle();
  connected_ = false;
  lost_ = false;
}

void Session::Connect() {
  connection_ = Handle::Allocate(SQL_HANDLE_DBC, environment_.get());
  // Drivers that lack an attribute keep their own default; the connection
  // still opens.
  SQLSetConnectAttr(connection_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(login_timeout_seconds_), 0);
  SQLSetConnectAttr(connection_.get(), SQL_ATTR_CONNECTION_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(login_timeout_seconds_), 0);
  WideText text = ComponentToWide(connection_string_);
  const SQLRETURN rc =
      SQLDriverConnectW(connection_.get(), nullptr, text.data(), SQL_NTS,
                        nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(rc)) {
    const Diagnostic diagnostic = FirstDiagnostic(connection_);
    connection_ = Handle();
    throw CannotConnect("Cannot connect through " + label_ + ": " +
                        (diagnostic.message.empty()
                             ? "the driver gave no reason"
                             : diagnostic.message));
  }
  connected_ = true;
  RunConnectStatements();
}

void Session::SetConnectStatements(std::vector<std::string> statements) {
  connect_statements_ = std::move(statements);
  if (connected_) RunConnectStatements();
}

void Session::RunConnectStatements() {
  for (const std::string& sql : connect_statements_) {
    const Handle statement = NewStatement();
    WideText text = ComponentToWide(sql);
    if (!Succeeded(SQLExecDirectW(statement.get(), text.data(), SQL_NTS))) {
      RaiseFailure(statement);
    }
  }
}

bool Session::IsDead() {
  if (!connected_) return true;
  SQLUINTEGER dead = SQL_CD_FALSE;
  return Succeeded(SQLGetConnectAttr(
             connection_.get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
         dead == SQL_CD_TRUE;
}

std::string Session::DbmsName() {
  EnsureConnected();
  SQLWCHAR name[256] = {};
  SQLSMALLINT length = 0;
  if (!Succeeded(SQLGetInfoW(connection_.get(), SQL_DBMS_NAME, name,
                             sizeof(name), &length))) {
    RaiseFailure(connection_);
  }
  const size_t units = std::min<size_t>(
      static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)) / sizeof(SQLWCHAR),
      255);
  return ComponentTextOf(name, units);
}

void Session::SetAutoCommit(bool on) {
  EnsureConnected();
  const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  if (!Succeeded(SQLSetConnectAttr(connection_.get(), SQL_ATTR_AUTOCOMMIT,
                                   reinterpret_cast<SQLPOINTER>(value), 0))) {
    RaiseFailure(connection_);
  }
}

void Session::SetIsolation(SQLULEN level) {
  EnsureConnected();
  if (!Succeeded(SQLSetConnectAttr(connection_.get(), SQL_ATTR_TXN_ISOLATION,
                                   reinterpret_cast<SQLPOINTER>(level), 0))) {
    RaiseFailure(connection_);
  }
}

void Session::Commit() {
  if (!Succeeded(SQLEndTran(SQL_HANDLE_DBC, connection_.get(), SQL_COMMIT))) {
    RaiseFailure(connection_);
  }
}

void Session::Rollback() noexcept {
  if (connected_ && !lost_) {
    SQLEndTran(SQL_HANDLE_DBC, connection_.get(), SQL_ROLLBACK);
  }
}

Handle Session::NewStatement() {
  EnsureConnected();
  return NewStatementOnThisConnection();
}

Handle Session::NewStatementOnThisConnection() {
  if (!connected_ || lost_) {
    throw VbError(errors::kCannotConnect, kErrorSource,
                  "The connection to the server was lost");
  }
  SQLHANDLE raw = SQL_NULL_HANDLE;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, connection_.get(), &raw))) {
    RaiseFailure(connection_);
  }
  Handle statement(SQL_HANDLE_STMT, raw);
  SQLSetStmtAttr(statement.get(), SQL_ATTR_QUERY_TIMEOUT,
                 reinterpret_cast<SQLPOINTER>(query_timeout_seconds_), 0);
  return statement;
}

void Session::RaiseFailure(const Handle& handle) {
  const Diagnostic diagnostic = FirstDiagnostic(handle);
  const bool lost = diagnostic.state.compare(0, 2, "08") == 0 || IsDead();
  // The statement handles of the caller still hang on the connection; it is
  // closed when next used.
  if (lost) lost_ = true;
  std::string message = diagnostic.message;
  if (message.empty()) {
    message = lost ? "The connection to the server was lost"
                   : "The driver refused the statement and gave no reason";
  }
  throw VbError(lost ? errors::kCannotConnect : errors::kQueryRefused,
                kErrorSource, message);
}

}  // namespace mx::repository::odbc
