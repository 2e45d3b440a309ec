#include "cli/escaped_error.h"

#include <algorithm>

#include "movx20xmlgen/error.h"
#include "platform/encoding.h"

namespace mx::cli {

namespace {

std::string Describe(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const VbError& e) {
    return "error " + std::to_string(e.number()) + ": " +
           Win1252ToUtf8(e.description());
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

// Legacy messages end in CR LF and database messages may span lines.
std::string OneLine(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
    text.pop_back();
  }
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; },
      ' ');
  return text;
}

}  // namespace

std::string EscapedErrorLine(std::exception_ptr error) {
  return "movx20xmlgen: " + OneLine(Describe(error));
}

}  // namespace mx::cli
