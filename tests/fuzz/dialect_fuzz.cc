// The query text rewrite for SQLite: outside single-quoted literals every
// "+" becomes "||" and nothing else changes; inside them nothing changes at
// all.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "repository/dialect.h"

namespace {

// Walks the input and the output side by side.
bool OnlyPlusOutsideLiteralsChanged(std::string_view in, std::string_view out) {
  bool in_literal = false;
  size_t o = 0;
  for (char c : in) {
    if (c == '+' && !in_literal) {
      if (out.substr(o, 2) != "||") return false;
      o += 2;
      continue;
    }
    if (o >= out.size() || out[o] != c) return false;
    ++o;
    if (c == '\'') in_literal = !in_literal;
  }
  return o == out.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mx::fuzz::LinearTimeBudget budget(size, 10000, 30);
  const std::string sql(reinterpret_cast<const char*>(data), size);
  const std::string out = mx::repository::PlusToConcat(sql);
  mx::fuzz::Check(OnlyPlusOutsideLiteralsChanged(sql, out),
                  "the rewrite changes only + outside literals");
  budget.Finish();
  return 0;
}
