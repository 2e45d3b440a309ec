// Reading ODBC connection strings and translating the SQL Server provider
// strings of the original platform into them.
#include "repository/provider_strings.h"

#include <algorithm>
#include <cctype>

#include "movx20xmlgen/error.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "Microsoft OLE DB Service Components";
constexpr std::string_view kBlanks = " \t\r\n";
// Characters that the ODBC syntax reserves inside a value.
constexpr std::string_view kReserved = "[]{}(),;?*=!@";

VbError CannotConnect(const std::string& description) {
  return VbError(errors::kCannotConnect, kErrorSource, description);
}

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return lower;
}

// Reads a braced value from `pos` (on the "{") and moves `pos` past the
// closing brace; nullopt when it never closes.
std::optional<std::string> ReadBraced(std::string_view text, size_t& pos) {
  std::string value;
  for (++pos; pos < text.size(); ++pos) {
    if (text[pos] != '}') {
      value += text[pos];
    } else if (pos + 1 < text.size() && text[pos + 1] == '}') {
      value += '}';
      ++pos;
    } else {
      ++pos;
      return value;
    }
  }
  return std::nullopt;
}

std::string Braced(std::string_view value) {
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  return out + "}";
}

std::string WrittenValue(const OdbcAttribute& attribute) {
  const std::string_view v = attribute.value;
  const bool needs_braces =
      attribute.braced ||
      v.find_first_of(kReserved) != std::string_view::npos ||
      (!v.empty() && (kBlanks.find(v.front()) != std::string_view::npos ||
                      kBlanks.find(v.back()) != std::string_view::npos));
  return needs_braces ? Braced(v) : std::string(v);
}

// The provider name without its version suffix (".1"), lower case.
std::string BaseProviderName(std::string_view provider) {
  std::string name = Lower(Trim(provider));
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot + 1 < name.size() &&
      std::all_of(
          name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
          [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    name.resize(dot);
  }
  return name;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// ---- SQL Server provider keys ------------------------------------------

enum class KeyRole {
  kServer,
  kDatabase,
  kUser,
  kPassword,
  kIntegrated,
  kEncrypt,
  kTrustCertificate,
  kLoginTimeout,
  kPassOn,   // same meaning under an ODBC keyword
  kDropped,  // no effect that an ODBC connection needs
};

struct ProviderKey {
  const char* ado_key;  // lower case, as ParseConnectionString gives it
  KeyRole role;
  const char* odbc_key;  // for kPassOn
};

constexpr ProviderKey kProviderKeys[] = {
    {"data source", KeyRole::kServer, nullptr},
    {"server", KeyRole::kServer, nullptr},
    {"address", KeyRole::kServer, nullptr},
    {"addr", KeyRole::kServer, nullptr},
    {"network address", KeyRole::kServer, nullptr},
    {"initial catalog", KeyRole::kDatabase, nullptr},
    {"database", KeyRole::kDatabase, nullptr},
    {"user id", KeyRole::kUser, nullptr},
    {"uid", KeyRole::kUser, nullptr},
    {"password", KeyRole::kPassword, nullptr},
    {"pwd", KeyRole::kPassword, nullptr},
    {"integrated security", KeyRole::kIntegrated, nullptr},
    {"trusted_connection", KeyRole::kIntegrated, nullptr},
    {"use encryption for data", KeyRole::kEncrypt, nullptr},
    {"encrypt", KeyRole::kEncrypt, nullptr},
    {"trust server certificate", KeyRole::kTrustCertificate, nullptr},
    {"trustservercertificate", KeyRole::kTrustCertificate, nullptr},
    {"connect timeout", KeyRole::kLoginTimeout, nullptr},
    {"connection timeout", KeyRole::kLoginTimeout, nullptr},
    {"application name", KeyRole::kPassOn, "APP"},
    {"workstation id", KeyRole::kPassOn, "WSID"},
    {"current language", KeyRole::kPassOn, "Language"},
    {"language", KeyRole::kPassOn, "Language"},
    {"failover partner", KeyRole::kPassOn, "Failover_Partner"},
    {"multisubnetfailover", KeyRole::kPassOn, "MultiSubnetFailover"},
    {"applicationintent", KeyRole::kPassOn, "ApplicationIntent"},
    {"application intent", KeyRole::kPassOn, "ApplicationIntent"},
    {"mars connection", KeyRole::kPassOn, "MARS_Connection"},
    {"multipleactiveresultsets", KeyRole::kPassOn, "MARS_Connection"},
    {"auto translate", KeyRole::kPassOn, "AutoTranslate"},
    {"server spn", KeyRole::kPassOn, "ServerSPN"},
    {"persist security info", KeyRole::kDropped, nullptr},
    {"packet size", KeyRole::kDropped, nullptr},
    {"use procedure for prepare", KeyRole::kDropped, nullptr},
    {"ole db services", KeyRole::kDropped, nullptr},
    {"locale identifier", KeyRole::kDropped, nullptr},
    {"tag with column collation when possible", KeyRole::kDropped, nullptr},
    {"general timeout", KeyRole::kDropped, nullptr},
    {"network library", KeyRole::kDropped, nullptr},
    {"network", KeyRole::kDropped, nullptr},
    {"datatypecompatibility", KeyRole::kDropped, nullptr},
    {"mode", KeyRole::kDropped, nullptr},
};

const ProviderKey* FindProviderKey(const std::string& key) {
  for (const ProviderKey& k : kProviderKeys) {
    if (key == k.ado_key) return &k;
  }
  return nullptr;
}

// The parts of a translated string, gathered in any order and written in a
// fixed one.
struct SqlServerParts {
  std::string server, database, user, password;
  bool integrated = false;
  std::optional<std::string> encrypt, trust_certificate;
  std::optional<int> login_timeout;
  std::vector<OdbcAttribute> passed_on;
};

class SqlServerTranslator {
 public:
  explicit SqlServerTranslator(std::string provider)
      : provider_(std::move(provider)) {}

  void Take(const std::string& key, const std::string& value);
  SqlServerOdbcString Write(const std::string& driver) const;

 private:
  VbError Refusal(const std::string& why) const {
    return CannotConnect("Provider=" + provider_ + ": " + why);
  }
  std::optional<bool> YesNo(std::string_view value) const;
  std::string EncryptValue(const std::string& key,
                           const std::string& value) const;
  std::string YesNoValue(const std::string& key,
                         const std::string& value) const;
  int Seconds(const std::string& key, const std::string& value) const;

  std::string provider_;
  SqlServerParts parts_;
};

std::optional<bool> SqlServerTranslator::YesNo(std::string_view value) const {
  const std::string v = Lower(Trim(value));
  if (v == "true" || v == "yes") return true;
  if (v == "false" || v == "no") return false;
  return std::nullopt;
}

std::string SqlServerTranslator::YesNoValue(const std::string& key,
                                            const std::string& value) const {
  const std::optional<bool> yes = YesNo(value);
  if (!yes) throw Refusal("cannot read " + key + "=" + value);
  return *yes ? "yes" : "no";
}

std::string SqlServerTranslator::EncryptValue(const std::string& key,
                                              const std::string& value) const {
  const std::string v = Lower(Trim(value));
  if (v == "mandatory") return "yes";
  if (v == "optional") return "no";
  if (v == "strict") return "strict";
  return YesNoValue(key, value);
}

int SqlServerTranslator::Seconds(const std::string& key,
                                 const std::string& value) const {
  const std::string_view v = Trim(value);
  if (v.empty() || v.size() > 6 || !std::all_of(v.begin(), v.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
      })) {
    throw Refusal("cannot read " + key + "=" + value + " as seconds");
  }
  return std::stoi(std::string(v));
}

void SqlServerTranslator::Take(const std::string& key,
                               const std::string& value) {
  if (key == "provider") return;
  const ProviderKey* k = FindProviderKey(key);
  if (k == nullptr) {
    throw Refusal("the connection string key \"" + key +
                  "\" has no counterpart in the SQL Server ODBC driver");
  }
  switch (k->role) {
    case KeyRole::kServer:
      parts_.server = value;
      break;
    case KeyRole::kDatabase:
      parts_.database = value;
      break;
    case KeyRole::kUser:
      parts_.user = value;
      break;
    case KeyRole::kPassword:
      parts_.password = value;
      break;
    case KeyRole::kIntegrated:
      parts_.integrated =
          Lower(Trim(value)) == "sspi" || YesNoValue(key, value) == "yes";
      break;
    case KeyRole::kEncrypt:
      parts_.encrypt = EncryptValue(key, value);
      break;
    case KeyRole::kTrustCertificate:
      parts_.trust_certificate = YesNoValue(key, value);
      break;
    case KeyRole::kLoginTimeout:
      parts_.login_timeout = Seconds(key, value);
      break;
    case KeyRole::kPassOn:
      parts_.passed_on.push_back({k->odbc_key, value});
      break;
    case KeyRole::kDropped:
      break;
  }
}

SqlServerOdbcString SqlServerTranslator::Write(
    const std::string& driver) const {
  if (Trim(parts_.server).empty()) {
    throw Refusal("the connection string names no Data Source (server)");
  }
  std::vector<OdbcAttribute> out = {{"Driver", driver, true},
                                    {"Server", parts_.server}};
  if (!parts_.database.empty()) out.push_back({"Database", parts_.database});
  if (parts_.integrated) {
    // Windows authentication wins over a user name, as with the providers.
    out.push_back({"Trusted_Connection", "Yes"});
  } else {
    if (!parts_.user.empty()) out.push_back({"UID", parts_.user});
    if (!parts_.password.empty()) out.push_back({"PWD", parts_.password});
  }
  // The original providers did not encrypt unless told to (MSOLEDBSQL19 does);
  // the ODBC driver 18 would insist and refuse servers with their own
  // certificates, so the default is written out.
  const bool encrypts_by_default =
      BaseProviderName(provider_) == "msoledbsql19";
  out.push_back(
      {"Encrypt", parts_.encrypt.value_or(encrypts_by_default ? "yes" : "no")});
  if (parts_.trust_certificate) {
    out.push_back({"TrustServerCertificate", *parts_.trust_certificate});
  }
  out.insert(out.end(), parts_.passed_on.begin(), parts_.passed_on.end());
  return {OdbcConnectionString(out), parts_.login_timeout};
}

}  // namespace

std::optional<std::vector<OdbcAttribute>> ParseOdbcConnectionString(
    std::string_view text) {
  std::vector<OdbcAttribute> attributes;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t stop = text.find_first_of("=;", pos);
    if (stop == std::string_view::npos || text[stop] == ';') {
      if (!Trim(text.substr(pos, stop - pos)).empty()) return std::nullopt;
      pos = stop == std::string_view::npos ? text.size() : stop + 1;
      continue;
    }
    OdbcAttribute attribute;
    attribute.key = std::string(Trim(text.substr(pos, stop - pos)));
    if (attribute.key.empty()) return std::nullopt;
    pos = stop + 1;
    const size_t start = text.find_first_not_of(kBlanks, pos);
    if (start != std::string_view::npos && text[start] == '{') {
      pos = start;
      std::optional<std::string> value = ReadBraced(text, pos);
      if (!value) return std::nullopt;
      const size_t end = std::min(text.find(';', pos), text.size());
      if (!Trim(text.substr(pos, end - pos)).empty()) return std::nullopt;
      attribute.value = *std::move(value);
      attribute.braced = true;
      pos = end + 1;
    } else {
      const size_t end = std::min(text.find(';', pos), text.size());
      attribute.value = std::string(Trim(text.substr(pos, end - pos)));
      pos = end + 1;
    }
    attributes.push_back(std::move(attribute));
  }
  return attributes;
}

std::string OdbcConnectionString(const std::vector<OdbcAttribute>& attributes) {
  std::string out;
  for (const OdbcAttribute& attribute : attributes) {
    out += attribute.key + "=" + WrittenValue(attribute) + ";";
  }
  return out;
}

std::optional<std::string> OdbcTarget(std::string_view connection_string) {
  const auto attributes = ParseOdbcConnectionString(connection_string);
  if (!attributes) return std::nullopt;
  std::optional<std::string> target;
  for (const OdbcAttribute& attribute : *attributes) {
    const std::string key = Lower(attribute.key);
    if (key == "provider") return std::nullopt;
    if (!target && (key == "driver" || key == "dsn" || key == "filedsn")) {
      target = attribute.key + "=" + WrittenValue(attribute);
    }
  }
  return target;
}

namespace {

bool CarriesPassword(std::string_view key) {
  const std::string lower = Lower(Trim(key));
  return lower == "pwd" || lower.find("password") != std::string::npos;
}

// Moves `pos` past the value that starts there (after the "="): to the ";"
// that ends the entry, or to the end. False when a brace or quote never
// closes, or text follows a closed one.
bool SkipValue(std::string_view text, size_t& pos) {
  pos = std::min(text.find_first_not_of(kBlanks, pos), text.size());
  if (pos < text.size() &&
      (text[pos] == '{' || text[pos] == '"' || text[pos] == '\'')) {
    const char close = text[pos] == '{' ? '}' : text[pos];
    for (++pos;; ++pos) {
      if (pos >= text.size()) return false;
      if (text[pos] != close) continue;
      if (pos + 1 < text.size() && text[pos + 1] == close) {
        ++pos;
        continue;
      }
      ++pos;
      break;
    }
    const size_t end = std::min(text.find(';', pos), text.size());
    if (!Trim(text.substr(pos, end - pos)).empty()) return false;
    pos = end;
    return true;
  }
  pos = std::min(text.find(';', pos), text.size());
  return true;
}

}  // namespace

std::optional<std::string> WithoutPassword(std::string_view text) {
  std::string shown;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    const size_t stop = text.find_first_of("=;", pos);
    if (stop == std::string_view::npos || text[stop] == ';') {
      if (!Trim(text.substr(pos, stop - pos)).empty()) return std::nullopt;
      pos = stop == std::string_view::npos ? text.size() : stop + 1;
      continue;
    }
    pos = stop + 1;
    if (!SkipValue(text, pos)) return std::nullopt;
    if (!CarriesPassword(text.substr(start, stop - start))) {
      if (!shown.empty()) shown += ";";
      shown += Trim(text.substr(start, pos - start));
    }
    ++pos;
  }
  return shown;
}

ProviderKind ClassifyProvider(std::string_view provider) {
  const std::string name = BaseProviderName(provider);
  if (name.empty() || name == "sqlite" || name == "sqlite3") {
    return ProviderKind::kSqlite;
  }
  if (name == "sqloledb" || name == "msoledbsql" || name == "msoledbsql19" ||
      name == "sqlncli11" || name == "sqlncli10" || name == "sqlncli") {
    return ProviderKind::kSqlServer;
  }
  if (StartsWith(name, "microsoft.jet.oledb") ||
      StartsWith(name, "microsoft.ace.oledb")) {
    return ProviderKind::kDesktopDatabase;
  }
  return ProviderKind::kOther;
}

std::string DesktopDatabaseRefusal(std::string_view provider) {
  return "Provider=" + std::string(Trim(provider)) +
         " opens desktop database files (.mdb, .accdb) through a Windows "
         "database engine that this platform does not have; copy the "
         "repository into SQLite or onto a database server";
}

const std::vector<std::string>& SqlServerDrivers() {
  static const std::vector<std::string> drivers = {
      "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server"};
  return drivers;
}

std::optional<std::string> ChooseSqlServerDriver(
    const std::vector<std::string>& installed) {
  for (const std::string& driver : SqlServerDrivers()) {
    if (std::find(installed.begin(), installed.end(), driver) !=
        installed.end()) {
      return driver;
    }
  }
  return std::nullopt;
}

SqlServerOdbcString TranslateSqlServerString(
    const std::map<std::string, std::string>& pairs,
    const std::string& driver) {
  const auto provider = pairs.find("provider");
  SqlServerTranslator translator(provider == pairs.end() ? std::string()
                                                         : provider->second);
  for (const auto& [key, value] : pairs) translator.Take(key, value);
  return translator.Write(driver);
}

}  // namespace mx::repository
