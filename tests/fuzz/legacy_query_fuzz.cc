// The legacy query translators on sections and select statements from the
// input (time linear in input and output: a select list of n stars over a
// from-clause of n tables expands to n * n field lists), against a repository
// that describes a table, a text file and an application the input never names.
// A failure is reported and gives an empty text. A translated function text,
// with the range routine of a split run after it and escaped as the function
// element writes it, is well-formed element content that ends with the whole
// routine.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_repository.h"
#include "fuzz/fuzz_support.h"
#include "platform/xml_check.h"
#include "platform/xml_escaping.h"
#include "split/from_to_range.h"
#include "xml/legacy_query.h"

namespace {

constexpr char kRows[] =
    "INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp) VALUES"
    " ('LEG', 'lg', 'cus', 'cust', 'CODE', 1, 'N'),"
    " ('LEG', 'lg', 'cus', 'cust', 'NAME$', 2, 'T'),"
    " ('LEG', 'lg', 'cus', 'cust.txt', 'CODE', 1, 'N'),"
    " ('LEG', 'lg', 'cus', 'cust.txt', 'NAME$', 2, 'u'),"
    " ('LEG', 'lg', 'ord', 'ORD', 'NR', 1, 'N'),"
    " ('LEG', 'lg', 'ord', 'ord.csv', 'QTY', 2, 'N'),"
    " ('OTH', 'lg', 'cus', 'cust', 'OTHER', 1, 'T');";

// Characters that XML 1.0 does not allow in content, whatever the escaping.
bool HasCharacterXmlRefuses(std::string_view text) {
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 && c != '\t' && c != '\r' && c != '\n') return true;
  }
  return false;
}

void CheckOutcome(bool ok, const std::string& out,
                  const mx::fuzz::FuzzRepository& repo) {
  mx::fuzz::Check(ok || (out.empty() && !repo.log->text().empty()),
                  "a failed translation is reported and gives no text");
}

void CheckFunctionElement(const std::string& translated) {
  const std::string routine = mx::legacy::GetFromToRange();
  const std::string text = mx::Escape_XML_Text(translated + "\r\n" + routine);
  const std::string escaped_routine = mx::Escape_XML_Text(routine);
  mx::fuzz::Check(
      text.size() >= escaped_routine.size() &&
          text.compare(text.size() - escaped_routine.size(),
                       escaped_routine.size(), escaped_routine) == 0,
      "the range routine ends the function text whole");
  if (HasCharacterXmlRefuses(translated)) return;
  mx::fuzz::Check(
      mx::CheckWellFormed("<FUNCTION>\r\n" + text + "\r\n</FUNCTION>")
          .well_formed,
      "the function element is well-formed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto* repo =
      new mx::fuzz::FuzzRepository(mx::GeneratorKind::kLegacy, kRows);
  mx::fuzz::LinearTimeBudget budget(size, 100000, 600);
  mx::fuzz::InputReader reader(data, size);
  const std::string section = reader.Next();
  const std::string statement = reader.Next();

  repo->NewInput();
  std::string out = "stale";
  bool ok =
      mx::legacy::Convert_Select_Section(repo->t.ctx, section, "LEG", &out);
  CheckOutcome(ok, out, *repo);
  budget.AllowOutput(out.size());
  if (ok) CheckFunctionElement(out);

  repo->NewInput();
  out = "stale";
  ok = mx::legacy::Convert_Legacy_Query(repo->t.ctx, statement, "LEG", &out);
  CheckOutcome(ok, out, *repo);
  budget.AllowOutput(out.size());
  budget.Finish();
  return 0;
}
