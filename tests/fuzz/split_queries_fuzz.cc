// The split queries of both classes on pre-condition texts from the input,
// against a repository in which one target table is split by two source
// tables and another target has no split rows. A failure is reported and
// leaves the output as it was; a target without split rows, or a text
// without migrate, comes back unchanged; otherwise every migrate of the text
// is still there, each after the range code of its table, and the text after
// the last one ends the result.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_repository.h"
#include "fuzz/fuzz_support.h"
#include "platform/vb_text.h"
#include "split/split_queries.h"

namespace {

constexpr char kRows[] =
    "INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES"
    " ('tgtab001', 'srtab001', 'code,name'),"
    " ('tgtab001', 'srord001', 'nr'),"
    " ('tgtab001', 'cust', 'CODE'),"
    " ('tgtab001', 'ord.csv', 'NR,QTY');"
    "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, comb)"
    " VALUES"
    " ('SAPP', 'sr', 'tab', '001', 'code', 1, 'tccode', 'N'),"
    " ('SAPP', 'sr', 'tab', '001', 'name', 2, 'tcname', 'N'),"
    " ('SAPP', 'sr', 'ord', '001', 'nr', 1, 'tcnumb', 'N');"
    "INSERT INTO qxddi220 (appl, cpac, cdom, type, leng) VALUES"
    " ('SAPP', 'tc', 'code', '3', '9'),"
    " ('SAPP', 'tc', 'name', '1', '30'),"
    " ('SAPP', 'tc', 'numb', '2', '');"
    "INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp) VALUES"
    " ('SAPP', 'lg', 'cus', 'cust', 'CODE', 1, 'T'),"
    " ('SAPP', 'lg', 'ord', 'ord.csv', 'NR', 1, 'N'),"
    " ('SAPP', 'lg', 'ord', 'ord.csv', 'QTY', 2, 'N');";

size_t Migrates(const std::string& text) {
  size_t count = 0;
  for (size_t at = mx::vb::InStrText(text, "migrate"); at != 0;
       at = mx::vb::InStrText(at + 1, text, "migrate")) {
    ++count;
  }
  return count;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The text after the last migrate of `text` (the whole text without one).
std::string AfterLastMigrate(const std::string& text) {
  size_t last = 0;
  for (size_t at = mx::vb::InStrText(text, "migrate"); at != 0;
       at = mx::vb::InStrText(at + 1, text, "migrate")) {
    last = at;
  }
  return last == 0 ? text : text.substr(last - 1 + 7);
}

template <typename Operation>
void CheckRewrite(mx::fuzz::FuzzRepository& repo, const std::string& text,
                  const std::string& target, Operation&& operation) {
  repo.NewInput();
  std::string out = "stale";
  if (!operation(repo.t.ctx, "SAPP", text, target, &out)) {
    mx::fuzz::Check(out == "stale" && !repo.log->text().empty(),
                    "a failed rewrite is reported and leaves the output");
    return;
  }
  if (target != "tgtab001" || Migrates(text) == 0) {
    mx::fuzz::Check(out == text, "nothing to split: the text as it was");
    return;
  }
  mx::fuzz::Check(Migrates(out) >= Migrates(text),
                  "every migrate of the text stays");
  mx::fuzz::Check(EndsWith(out, AfterLastMigrate(text)),
                  "the text after the last migrate ends the result");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto* dd =
      new mx::fuzz::FuzzRepository(mx::GeneratorKind::kDataDictionary, kRows);
  static auto* legacy =
      new mx::fuzz::FuzzRepository(mx::GeneratorKind::kLegacy, kRows);
  mx::fuzz::LinearTimeBudget budget(size, 300000, 1200);
  mx::fuzz::InputReader reader(data, size);
  const std::string target = (reader.Byte() & 1) ? "tgtab001" : "other001";
  const std::string text = reader.Next();
  CheckRewrite(*dd, text, target, mx::dd::AddSplitQueries_to_Precondition);
  CheckRewrite(*legacy, text, target,
               mx::legacy::AddSplitQueries_to_Precondition);
  budget.Finish();
  return 0;
}
