// The split-condition rule on what the main-query builders give it: the
// output of either formatter, and the condition of a worker shell. The rule
// keeps the query up to its where-clause (or closing clause) as it was, adds
// the condition exactly once more than the query held it, and ends.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "split/split_condition.h"
#include "xml/format_string.h"

namespace {

size_t Occurrences(std::string_view text, std::string_view piece) {
  if (piece.empty()) return 0;
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string_view::npos;
       at = text.find(piece, at + 1)) {
    ++count;
  }
  return count;
}

// The part of the query before " where " or, without one, before the first
// closing clause: the rule never changes it.
std::string UntouchedHead(const std::string& query) {
  size_t cut = mx::vb::InStrText(query, " where ");
  if (cut == 0) {
    for (std::string_view clause : {" group ", " having ", " order "}) {
      cut = mx::vb::InStrText(query, clause);
      if (cut != 0) break;
    }
  }
  return cut == 0 ? query : query.substr(0, cut - 1);
}

void CheckRule(const std::string& query, const std::string& condition) {
  const std::string out = mx::InsertSplitCondition(query, condition);
  mx::fuzz::Check(
      out.compare(0, UntouchedHead(query).size(), UntouchedHead(query)) == 0,
      "the query before its where-clause stays as it was");
  mx::fuzz::Check(
      condition.empty() || condition.find(' ') != std::string::npos ||
          Occurrences(out, condition) > Occurrences(query, condition),
      "the condition is added");
  mx::fuzz::Check(mx::vb::InStrText(out, "where ") != 0,
                  "the result has a where-clause");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mx::fuzz::LinearTimeBudget budget(size, 20000, 300);
  mx::fuzz::InputReader reader(data, size);
  const std::string query = reader.Next();
  const std::string condition = reader.Next();
  CheckRule(query + " ", condition);
  CheckRule(mx::FormatStringLegacy(query), condition);
  try {
    CheckRule(mx::FormatStringDictionary(query), condition);
  } catch (const mx::VbError&) {
    // An unclosed quote: the builder fails before the rule.
  }
  budget.Finish();
  return 0;
}
