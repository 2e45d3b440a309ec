// The include and table-declaration scanners on legacy text from the input,
// with a function library whose definitions also come from the input. A
// keyword the scanner finds is the keyword; an error leaves every text as it
// was; a successful pass only takes lines out of the text (the collected
// definitions and the declared tables grow instead).
#include <cstdint>
#include <map>
#include <string>

#include "dictionary/include_lines.h"
#include "fuzz/fuzz_support.h"
#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"

namespace {

// Every name gets the same definition, after its table declarations have
// been taken out as the real library does; "missing" is not in the library.
class InputLibrary : public mx::legacy::FunctionLibrary {
 public:
  explicit InputLibrary(std::string definition)
      : definition_(std::move(definition)) {}

  std::string Get_Function_Definition(const std::string& name,
                                      std::string* tables) override {
    if (mx::vb::LCase(name) == "missing") {
      throw mx::VbError(1000, "XML Generation", "no such function");
    }
    std::string definition = definition_;
    *tables = mx::legacy::Extract_Table_Declarations(&definition);
    return definition;
  }

 private:
  std::string definition_;
};

void CheckFindKeyword(const std::string& text, const std::string& keyword) {
  size_t at = 1;
  for (int found = 0; found < 64; ++found) {
    at = mx::legacy::Find_Keyword(at, text, keyword);
    if (at == 0) return;
    mx::fuzz::Check(mx::vb::LCase(text.substr(at - 1, keyword.size())) ==
                        mx::vb::LCase(keyword),
                    "a keyword found is the keyword");
    ++at;
  }
}

void CheckTableDeclarations(const std::string& definition) {
  std::string text = definition;
  try {
    mx::legacy::Extract_Table_Declarations(&text);
  } catch (const mx::VbError& error) {
    mx::fuzz::Check(error.number() == 1000 && text == definition,
                    "a declaration without a name changes nothing");
    return;
  }
  mx::fuzz::Check(text.size() <= definition.size(),
                  "declarations only leave the definition");
}

void CheckIncludeLines(const std::string& variables,
                       const std::string& definition) {
  InputLibrary library(definition);
  std::string text = variables;
  std::string tables = "t1";
  std::string collected = "before";
  try {
    mx::legacy::Process_Include_Lines(library, &text, &tables, &collected);
  } catch (const mx::VbError&) {
    mx::fuzz::Check(
        text == variables && tables == "t1" && collected == "before",
        "a failed include pass leaves the texts as they were");
    return;
  }
  mx::fuzz::Check(text.size() <= variables.size(),
                  "include lines only leave the text");
  mx::fuzz::Check(tables.compare(0, 2, "t1") == 0,
                  "declared tables are added after the others");
  mx::fuzz::Check(collected.empty() || collected.compare(0, 2, "\r\n") == 0,
                  "every collected definition starts a line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mx::fuzz::LinearTimeBudget budget(size, 20000, 150);
  mx::fuzz::InputReader reader(data, size);
  const std::string variables = reader.Next();
  const std::string definition = reader.Next();
  CheckFindKeyword(variables, "#include");
  CheckFindKeyword(definition, "table");
  CheckTableDeclarations(definition);
  CheckIncludeLines(variables, definition);
  budget.Finish();
  return 0;
}
