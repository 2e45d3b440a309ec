#include "cli/arguments.h"

#include <cerrno>
#include <cstdlib>

#include "cli/usage.h"
#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "platform/system_path.h"
#include "repository/connection.h"
#include "repository/provider_strings.h"

namespace mx::cli {

std::string Arguments::TakeValue(const std::string& option) {
  if (Done()) throw UsageError(option + " needs a value");
  return Take();
}

int64_t ParseInteger(const std::string& option, const std::string& text,
                     int64_t min, int64_t max) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < min ||
      value > max) {
    throw UsageError(option + " takes a whole number from " +
                     std::to_string(min) + " to " + std::to_string(max) +
                     ", not '" + text + "'");
  }
  return value;
}

std::string ComponentText(const std::string& utf8) {
  std::optional<std::string> text = Utf8ToWin1252(utf8);
  if (!text) throw UsageError("argument is not valid UTF-8: " + utf8);
  return *text;
}

std::string ComponentPath(const std::string& utf8) {
  std::optional<std::string> text = ComponentPathFor(utf8);
  if (!text) throw UsageError("argument is not valid UTF-8: " + utf8);
  return *text;
}

std::optional<std::string> RepositoryFile(const std::string& connection) {
  try {
    const auto pairs = repository::ParseConnectionString(connection);
    if (pairs.count("driver") || pairs.count("dsn")) return std::nullopt;
    const auto provider = pairs.find("provider");
    if (provider != pairs.end() &&
        repository::ClassifyProvider(provider->second) !=
            repository::ProviderKind::kSqlite) {
      return std::nullopt;
    }
    const auto data_source = pairs.find("data source");
    if (data_source == pairs.end() || data_source->second.empty()) {
      return std::nullopt;
    }
    return data_source->second;
  } catch (const VbError&) {
    return std::nullopt;  // the run reports the string's fault itself
  }
}

// A string that converts whole is converted. An SQLite string that does not
// is handed over byte for byte, so that its Data Source names the user's
// file; any other string (a server's) is converted as before.
std::string ComponentConnection(const std::string& utf8) {
  const std::string text = ComponentText(utf8);
  if (Win1252ToUtf8(text) == utf8) return text;
  const std::optional<std::string> file = RepositoryFile(utf8);
  if (!file) return text;
  StandInFor(*file);
  return utf8;
}

}  // namespace mx::cli
