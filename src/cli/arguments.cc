#include "cli/arguments.h"

#include <cerrno>
#include <cstdlib>

#include "cli/usage.h"
#include "platform/encoding.h"

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

}  // namespace mx::cli
