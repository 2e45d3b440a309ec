// Connection strings that lead to a database server. ODBC strings
// ("Driver=...;..." or "DSN=...;...") go to the driver manager as they are;
// this header only reads them, to tell them apart and to name their target in
// messages. The ADO strings of the original platform's SQL Server providers
// (SQLOLEDB, MSOLEDBSQL, SQLNCLI11) are translated into the equivalent string
// of the SQL Server ODBC driver, so that callers' existing settings keep
// working. Desktop database providers (Jet, ACE) have no counterpart here and
// are refused by name. Nothing here talks to a driver.
#ifndef MX_REPOSITORY_PROVIDER_STRINGS_H_
#define MX_REPOSITORY_PROVIDER_STRINGS_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mx::repository {

// One key=value pair of an ODBC connection string: the key as written
// (trimmed), the value without its braces, and whether it had them.
struct OdbcAttribute {
  std::string key;
  std::string value;
  bool braced = false;
};

// Reads an ODBC connection string: pairs separated by ";", a value in braces
// may hold ";" and "}}" stands for "}". nullopt when it is malformed (an entry
// without "=", an unclosed brace).
std::optional<std::vector<OdbcAttribute>> ParseOdbcConnectionString(
    std::string_view text);

// Writes pairs as an ODBC connection string; a value that had braces, holds
// a character the syntax reserves or has blanks at its ends is put in braces.
std::string OdbcConnectionString(const std::vector<OdbcAttribute>& attributes);

// What an ODBC connection string connects through, as written ("DSN=repo",
// "Driver={PostgreSQL Unicode}", "FILEDSN=..."): the part of the string that
// errors may show, since it never holds a password. nullopt for a string that
// is no ODBC string: one with a Provider, or naming no driver or data source.
std::optional<std::string> OdbcTarget(std::string_view connection_string);

// The connection string as it may be shown (in a run's results): every
// entry as written, less those that carry a password (key PWD, or a key
// holding "password", any case). Values in braces ({...}, "}}" for "}") and
// in quotes ("..." or '...', the quote doubled inside) may hold ";".
// nullopt when the string cannot be read that way: it is then not shown at
// all, since no part of it is known to be free of the password.
std::optional<std::string> WithoutPassword(std::string_view connection_string);

enum class ProviderKind {
  kSqlite,           // the embedded backend
  kSqlServer,        // SQLOLEDB, MSOLEDBSQL, SQLNCLI11 and their versions
  kDesktopDatabase,  // Microsoft.Jet.OLEDB, Microsoft.ACE.OLEDB
  kOther,
};

// `provider` as written in the Provider entry, any case, with or without a
// version suffix (".1"); an empty provider is the embedded backend.
ProviderKind ClassifyProvider(std::string_view provider);

// The refusal of a desktop database provider, naming it.
std::string DesktopDatabaseRefusal(std::string_view provider);

// The SQL Server ODBC drivers a translated string may use, best first.
const std::vector<std::string>& SqlServerDrivers();

// The best of SqlServerDrivers() among the drivers installed; nullopt when
// none is.
std::optional<std::string> ChooseSqlServerDriver(
    const std::vector<std::string>& installed);

struct SqlServerOdbcString {
  std::string connection_string;
  // From "Connect Timeout"; the backend's default when absent.
  std::optional<int> login_timeout_seconds;
};

// Translates the pairs of an ADO SQL Server provider string (as
// ParseConnectionString gives them: keys lower-cased) for `driver`. Data
// Source becomes Server, Initial Catalog Database, User ID and Password UID
// and PWD, Integrated Security=SSPI Trusted_Connection=Yes; encryption is
// off unless asked for, as with the original providers (MSOLEDBSQL19
// excepted). A key with no ODBC meaning that matters (packet size, OLE DB
// services, ...) is dropped; an unknown key, a missing Data Source or a value
// that cannot be read raises -2147467259 naming the provider and the key.
SqlServerOdbcString TranslateSqlServerString(
    const std::map<std::string, std::string>& pairs, const std::string& driver);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_PROVIDER_STRINGS_H_
