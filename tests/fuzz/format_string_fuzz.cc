// Both query formatters. The data-dictionary formatter either raises error
// 124 (an unclosed double quote) or gives a text whose every line break is
// the " CR LF " it sets itself: no line starts with a further blank. Both
// end in a blank and leave nothing unescaped.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "movx20xmlgen/error.h"
#include "xml/format_string.h"

namespace {

// The formatter joins lines with " " CR LF " " after it has removed every
// blank that followed a line break: a CR LF followed by two blanks (or by
// anything but one blank) is a blank it failed to remove.
bool LineBreaksAreSetOnce(std::string_view text) {
  for (size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    if (at + 2 >= text.size() || text[at + 2] != ' ') return false;
    if (at + 3 < text.size() && text[at + 3] == ' ') return false;
    if (at == 0 || text[at - 1] != ' ') return false;
  }
  return true;
}

bool NoBareCrOrLf(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const bool cr_lf =
        i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n';
    if (cr_lf) {
      ++i;
    } else if (text[i] == '\r' || text[i] == '\n') {
      return false;
    }
  }
  return true;
}

void CheckDictionary(const std::string& input) {
  std::string out;
  try {
    out = mx::FormatStringDictionary(input);
  } catch (const mx::VbError& error) {
    mx::fuzz::Check(error.number() == 124 &&
                        std::count(input.begin(), input.end(), '"') % 2 == 1,
                    "only an odd number of double quotes raises 124");
    return;
  }
  mx::fuzz::Check(LineBreaksAreSetOnce(out),
                  "no line break of the data-dictionary formatter is "
                  "followed by a further blank");
  mx::fuzz::Check(NoBareCrOrLf(out), "line breaks are CR LF");
  mx::fuzz::Check(mx::fuzz::OnlyEntities(out, {"&amp;", "&lt;", "&gt;"}),
                  "the data-dictionary formatter escapes its output");
}

void CheckLegacy(const std::string& input) {
  const std::string out = mx::FormatStringLegacy(input);
  mx::fuzz::Check(
      mx::fuzz::OnlyEntities(out, {"&amp;", "&lt;", "&gt;", "&quot;"}) &&
          out.find('"') == std::string::npos,
      "the legacy formatter escapes its output");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mx::fuzz::LinearTimeBudget budget(size, 20000, 400);
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckDictionary(input);
  CheckLegacy(input);
  budget.Finish();
  return 0;
}
