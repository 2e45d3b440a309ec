// Rule rewriting of both classes on rule texts and declarations from the
// input, against a repository with a few enumeration constants and domains.
// A failure is reported and gives an empty text; a text without any of the
// three keywords comes back as it was; the legacy target pass leaves the text
// alone while the target-source flag is set.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_repository.h"
#include "fuzz/fuzz_support.h"
#include "platform/vb_text.h"
#include "rules/legacy_rule_rewriting.h"
#include "rules/rule_rewriting.h"

namespace {

constexpr char kRows[] =
    "INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES"
    " ('tap', 'pk', 'color', 'red', '7'),"
    " ('tap', 'pk', 'color', 'blue', 'pkcolor.red'),"
    " ('tap', 'tc', 'yesno', 'yes', 'target(pkcolor.red)');"
    "INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju,"
    " conv) VALUES"
    " ('sap', 'tc', 'item', '3', '16', '', '', 'L', ''),"
    " ('sap', 'tc', 'amnt', '1', '', '15', '2', '', ''),"
    " ('sap', 'tc', 'date', '5', '', '', '', '', '');";

bool HasKeyword(const std::string& text) {
  return mx::vb::InStrText(text, "target") != 0 ||
         mx::vb::InStrText(text, "empty") != 0 ||
         mx::vb::InStrText(text, "default") != 0;
}

void CheckOutcome(bool ok, const std::string& text, const std::string& out,
                  const mx::fuzz::FuzzRepository& repo) {
  if (!ok) {
    mx::fuzz::Check(out.empty() && !repo.log->text().empty(),
                    "a failed rewrite is reported and gives no text");
    return;
  }
  mx::fuzz::Check(HasKeyword(text) || out == text,
                  "a text without keywords comes back as it was");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto* dd =
      new mx::fuzz::FuzzRepository(mx::GeneratorKind::kDataDictionary, kRows);
  static auto* legacy =
      new mx::fuzz::FuzzRepository(mx::GeneratorKind::kLegacy, kRows);
  mx::fuzz::LinearTimeBudget budget(size, 50000, 800);
  mx::fuzz::InputReader reader(data, size);
  const uint8_t flags = reader.Byte();
  const std::string text = reader.Next();
  const std::string declarations = reader.Next();

  dd->NewInput();
  dd->t.doc.declared_variables = declarations;
  std::string out = "stale";
  bool ok =
      mx::dd::Replace_Empty_Default_Target(dd->t.ctx, "sap", "tap", text, &out);
  CheckOutcome(ok, text, out, *dd);

  legacy->NewInput();
  legacy->t.doc.declared_variables = declarations;
  const bool target_source = (flags & 1) != 0;
  out = "stale";
  ok = mx::legacy::Replace_Target(legacy->t.ctx, target_source, "sap", "tap",
                                  text, &out);
  CheckOutcome(ok, text, out, *legacy);
  mx::fuzz::Check(!target_source || (ok && out == text),
                  "the legacy target pass is skipped for a target source");

  legacy->NewInput();
  legacy->t.doc.declared_variables = declarations;
  out = "stale";
  ok = mx::legacy::Replace_Empty_Default(legacy->t.ctx, "sap", text,
                                         (flags & 2) != 0, &out);
  CheckOutcome(ok, text, out, *legacy);

  legacy->NewInput();
  legacy->t.doc.declared_variables = declarations;
  out = "stale";
  ok = mx::legacy::Replace_Empty_Default_Target(legacy->t.ctx, target_source,
                                                "sap", "tap", text, &out);
  CheckOutcome(ok, text, out, *legacy);
  budget.Finish();
  return 0;
}
