// The include-line and table-declaration scanners on plain text: which
// keywords count, which names are read, what is removed and what stays, and
// what is left when a line has no name.
#include "dictionary/include_lines.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "movx20xmlgen/error.h"
#include "repository/temp_repository.h"

namespace mx::legacy {
namespace {

using repository::testing::RaisedError;

// Definitions by name; the tables of a definition are extracted as the
// repository's library extracts them.
class FakeLibrary : public FunctionLibrary {
 public:
  explicit FakeLibrary(std::map<std::string, std::string> definitions)
      : definitions_(std::move(definitions)) {}

  std::string Get_Function_Definition(const std::string& name,
                                      std::string* tables) override {
    asked.push_back(name);
    auto it = definitions_.find(name);
    if (it == definitions_.end()) throw VbError(1000, "test", "no " + name);
    std::string definition = it->second;
    *tables = Extract_Table_Declarations(&definition);
    return definition;
  }

  std::vector<std::string> asked;

 private:
  std::map<std::string, std::string> definitions_;
};

TEST(FindKeyword, WholeWordOutsideCommentsAndStrings) {
  EXPECT_EQ(Find_Keyword(1, "a\r\n  #INCLUDE <f>", "#include"), 6u);
  EXPECT_EQ(Find_Keyword(1, "#includex <f>\r\n#include<g>", "#include"), 16u);
  EXPECT_EQ(Find_Keyword(1, "x#include <f>", "#include"), 0u);
  // After a single quote on its line the keyword is commented out; the
  // quote of an earlier line does not count.
  EXPECT_EQ(Find_Keyword(1, "x = 1 ' #include <f>", "#include"), 0u);
  EXPECT_EQ(Find_Keyword(1, "' note\r\n#include <f>", "#include"), 9u);
  // Inside a string literal, also one that spans lines.
  EXPECT_EQ(Find_Keyword(1, "s = \"#include <f>\"", "#include"), 0u);
  EXPECT_EQ(Find_Keyword(1, "s = \"a\r\n#include <f>\"", "#include"), 0u);
  EXPECT_EQ(Find_Keyword(1, "s = \"a\" + \"b\"\r\n#include <f>", "#include"),
            16u);
  EXPECT_EQ(Find_Keyword(8, "#include <f>\r\n#include <g>", "#include"), 15u);
}

TEST(ReadNames, IncludeAndTableNameForms) {
  size_t end = 0;
  EXPECT_EQ(Read_Include_Name(1, " \t< calc_vat\t>\r\n", &end), "calc_vat");
  EXPECT_EQ(end, 14u);
  EXPECT_EQ(Read_Include_Name(1, " <calc.vat>", &end), "");
  EXPECT_EQ(Read_Include_Name(1, " calc_vat", &end), "");
  EXPECT_EQ(Read_Include_Name(1, " <calc_vat", &end), "");

  EXPECT_EQ(Read_Declared_Table_Name(1, " ttdsls040.x\r\n", &end),
            "ttdsls040.x");
  EXPECT_EQ(end, 13u);
  EXPECT_EQ(Read_Declared_Table_Name(1, " t1,t2", &end), "");
  EXPECT_EQ(Read_Declared_Table_Name(1, " \r\n", &end), "");
}

TEST(ExtractTableDeclarations, ListsAndRemovesEachDeclaration) {
  std::string definition =
      "function f()\r\n  table t1\r\nTABLE  t2.a \r\n| table of rates\r\n"
      "s = \"table x\"\r\nend";
  EXPECT_EQ(Extract_Table_Declarations(&definition), "t1 , t2.a , of");
  // Each declaration goes up to its line break; what stood before it stays.
  EXPECT_EQ(definition,
            "function f()\r\n  \r\n\r\n| \r\ns = \"table x\"\r\nend");

  std::string bad = "table t1\r\ntable t2,t3\r\n";
  VbError e = RaisedError([&] { Extract_Table_Declarations(&bad); });
  EXPECT_EQ(e.number(), 1000);
  EXPECT_EQ(e.description(), "Tablename missing in table declaration.");
  EXPECT_EQ(bad, "table t1\r\ntable t2,t3\r\n");
}

TEST(ProcessIncludeLines, CollectsFunctionsAndTheirTables) {
  FakeLibrary library({{"f1", "function f1()\r\ntable t1\r\n{}"},
                       {"f2", "function f2()\r\ntable t2\r\ntable t3\r\n{}"},
                       {"f3", "function f3() {}"}});
  std::string text =
      "long a\r\n#include <f1>\r\n' #include <gone>\r\n"
      "#Include <f3> | no tables\r\nx = \"#include <gone>\"\r\n#include <f2>";
  std::string tables = "src1";
  std::string collected = "stale";
  Process_Include_Lines(library, &text, &tables, &collected);
  EXPECT_EQ(library.asked, (std::vector<std::string>{"f1", "f3", "f2"}));
  EXPECT_EQ(text,
            "long a\r\n\r\n' #include <gone>\r\n\r\nx = \"#include "
            "<gone>\"\r\n");
  EXPECT_EQ(tables, "src1 , t1 , t2 , t3");
  EXPECT_EQ(collected,
            "\r\nfunction f1()\r\n\r\n{}\r\nfunction f3() {}"
            "\r\nfunction f2()\r\n\r\n\r\n{}");

  // An empty source list becomes the first function's tables.
  text = "#include <f2>";
  tables = "  ";
  Process_Include_Lines(library, &text, &tables, &collected);
  EXPECT_EQ(text, "");
  EXPECT_EQ(tables, "t2 , t3");

  text = "no includes";
  Process_Include_Lines(library, &text, &tables, &collected);
  EXPECT_EQ(collected, "");
}

TEST(ProcessIncludeLines, LineEndingInLineFeedTakesNoFurtherLine) {
  FakeLibrary library({{"f", "F"}, {"g", "G"}});
  std::string text = "#include <f>\nkeep me\r\nand me";
  std::string tables, collected;
  Process_Include_Lines(library, &text, &tables, &collected);
  EXPECT_EQ(text, "\nkeep me\r\nand me");
}

TEST(ProcessIncludeLines, MissingNameOrFunctionLeavesEverything) {
  FakeLibrary library({{"f1", "F1"}, {"f2", "F2"}});
  for (const std::string input :
       {"#include <f1>\r\n#include <a.b>", "#include <f1>\r\n#include f1",
        "#include <f1>\r\n#include <nope>"}) {
    std::string text = input;
    std::string tables = "s";
    std::string collected = "before";
    VbError e = RaisedError(
        [&] { Process_Include_Lines(library, &text, &tables, &collected); });
    EXPECT_EQ(e.number(), 1000);
    EXPECT_EQ(text, input);
    EXPECT_EQ(tables, "s");
    EXPECT_EQ(collected, "before");
    if (input.find("nope") == std::string::npos) {
      EXPECT_EQ(e.description(), "Function name missing");
    }
  }
}

}  // namespace
}  // namespace mx::legacy
