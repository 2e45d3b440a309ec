// Opening a repository connection from a connection string. An ODBC string
// ("Driver=..." or "DSN=...", no Provider) goes to the ODBC backend as it is.
// Otherwise the string is read ADO-style: "Data Source=FILE" with no provider
// or Provider=SQLite opens the embedded backend; the SQL Server providers are
// translated for the SQL Server ODBC driver. Every other string is refused
// with the platform's connection error and a description that names what was
// asked for, never the whole string (it may hold a password).
#include "repository/connection.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "platform/system_path.h"
#include "repository/odbc_api.h"
#include "repository/odbc_connection.h"
#include "repository/provider_strings.h"
#include "repository/sqlite_connection.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "Microsoft OLE DB Provider";
constexpr std::string_view kBlanks = " \t\r\n";

VbError CannotConnect(const std::string& description) {
  return VbError(errors::kCannotConnect, kErrorSource, description);
}

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return lower;
}

// Reads a quoted value that starts at `pos` (on the opening quote) and moves
// `pos` past the closing quote.
std::string ReadQuotedValue(std::string_view text, size_t& pos) {
  const char quote = text[pos++];
  std::string value;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c != quote) {
      value += c;
    } else if (pos < text.size() && text[pos] == quote) {
      value += quote;  // a doubled quote stands for one
      ++pos;
    } else {
      return value;
    }
  }
  throw CannotConnect("Connection string has an unterminated quoted value");
}

// Reads the value of an entry from `pos` up to the ";" that ends it and moves
// `pos` past that ";".
std::string ReadValue(std::string_view text, size_t& pos) {
  const size_t start = text.find_first_not_of(kBlanks, pos);
  const bool quoted = start != std::string_view::npos &&
                      (text[start] == '"' || text[start] == '\'');
  if (!quoted) {
    const size_t end = std::min(text.find(';', pos), text.size());
    std::string value(Trim(text.substr(pos, end - pos)));
    pos = end + 1;
    return value;
  }
  pos = start;
  std::string value = ReadQuotedValue(text, pos);
  const size_t end = std::min(text.find(';', pos), text.size());
  if (!Trim(text.substr(pos, end - pos)).empty()) {
    throw CannotConnect("Connection string has text after the quoted value");
  }
  pos = end + 1;
  return value;
}

std::string ValueOf(const std::map<std::string, std::string>& pairs,
                    const std::string& key) {
  const auto it = pairs.find(key);
  return it == pairs.end() ? std::string() : it->second;
}

std::unique_ptr<Connection> OpenSqlite(
    const std::map<std::string, std::string>& pairs) {
  const std::string data_source = ValueOf(pairs, "data source");
  if (data_source.empty()) {
    throw CannotConnect("The connection string names no Data Source");
  }
  // Component texts are Windows-1252; file names are UTF-8, and a path the
  // user gave keeps its bytes.
  return SqliteConnection::Open(SystemPath(data_source));
}

std::unique_ptr<Connection> OpenSqlServer(
    const std::map<std::string, std::string>& pairs) {
  const std::string provider = ValueOf(pairs, "provider");
  const std::optional<std::string> driver =
      ChooseSqlServerDriver(odbc::InstalledDrivers());
  // A string that cannot be translated is refused for that first.
  const SqlServerOdbcString odbc = TranslateSqlServerString(
      pairs, driver.value_or(SqlServerDrivers().front()));
  if (!driver) {
    throw CannotConnect(
        "Provider=" + provider + " needs the SQL Server ODBC driver (\"" +
        SqlServerDrivers().front() + "\" or \"" + SqlServerDrivers().back() +
        "\"), and none is installed");
  }
  OdbcTimeouts timeouts;
  if (odbc.login_timeout_seconds) {
    timeouts.login_seconds = *odbc.login_timeout_seconds;
  }
  return OdbcConnection::Open(
      odbc.connection_string,
      "Provider=" + provider + " (Driver={" + *driver + "})", timeouts);
}

}  // namespace

std::map<std::string, std::string> ParseConnectionString(
    std::string_view connection_string) {
  std::map<std::string, std::string> pairs;
  size_t pos = 0;
  while (pos < connection_string.size()) {
    const size_t stop = connection_string.find_first_of("=;", pos);
    if (stop == std::string_view::npos || connection_string[stop] == ';') {
      const std::string_view entry = connection_string.substr(pos, stop - pos);
      if (!Trim(entry).empty()) {
        throw CannotConnect("Connection string entry without \"=\": " +
                            std::string(Trim(entry)));
      }
      pos =
          stop == std::string_view::npos ? connection_string.size() : stop + 1;
      continue;
    }
    const std::string key =
        Lower(Trim(connection_string.substr(pos, stop - pos)));
    if (key.empty()) {
      throw CannotConnect("Connection string entry without a key");
    }
    pos = stop + 1;
    pairs[key] = ReadValue(connection_string, pos);
  }
  return pairs;
}

std::unique_ptr<Connection> OpenConnection(
    const std::string& connection_string) {
  if (const std::optional<std::string> target = OdbcTarget(connection_string)) {
    return OdbcConnection::Open(connection_string, *target);
  }
  const auto pairs = ParseConnectionString(connection_string);
  const std::string provider = ValueOf(pairs, "provider");
  switch (ClassifyProvider(provider)) {
    case ProviderKind::kSqlite:
      return OpenSqlite(pairs);
    case ProviderKind::kSqlServer:
      return OpenSqlServer(pairs);
    case ProviderKind::kDesktopDatabase:
      throw CannotConnect(DesktopDatabaseRefusal(provider));
    case ProviderKind::kOther:
      break;
  }
  throw CannotConnect("Provider not supported by this build: " + provider);
}

}  // namespace mx::repository
