// The legacy range script and the routines it calls, against a fake
// repository that answers only the exact query texts. The field query
// returns its rows in another order than the split list: each value must
// still come from its field's position in the range text.
#include <gtest/gtest.h>

#include "split/from_to_range.h"
#include "split/range_code.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using testing::Rows;

std::string TextTypeQuery(const std::string& field) {
  return "select * from qxlgy150 where flno='cust.txt' and flna ='" + field +
         "' and appl='LEG' and dtyp in ('M','S','T')";
}

TEST(BuildLegacySplitRangeCode, ValuesFollowTheSplitListWhateverTheRowOrder) {
  testing::TestContext t(GeneratorKind::kLegacy);
  t.repo->Answer(TextTypeQuery("region"), Rows({"flna", "dtyp"}, {}));
  t.repo->Answer(TextTypeQuery("opened"),
                 Rows({"flna", "dtyp"}, {{"opened", "T"}}));
  t.repo->Answer(TextTypeQuery("custno"), Rows({"flna", "dtyp"}, {}));
  t.repo->Answer(
      "select * from qxlgy150 where flno='cust.txt' and flna in "
      "('region','opened','custno') and appl='LEG'",
      Rows({"flna", "dtyp"},
           {{"custno", "I"}, {"region", "X"}, {"opened", "T"}}));

  const SplitRangePieces pieces = Build_Legacy_Split_Range_Code(
      t.ctx, "LEG", "abcde001", "cust.txt", "region, opened,custno");
  EXPECT_EQ(pieces.declarations, "");
  EXPECT_EQ(pieces.code,
            "GetFromToRange \"cust.txt\", FromRng, ToRng\r\n"
            "If FromRng <> \"\" then \r\n"
            "\tarrfld = split(FromRng,\",\")\r\n"
            "\r\n\tvarint_from_cust.txt_custno = arrfld(2)"
            "\r\n\tvarint_from_cust.txt_region = clng(arrfld(0))"
            "\r\n\tvarstr_from_cust.txt_opened = cdate(arrfld(1))\r\n"
            "Else \r\n"
            "\t RaiseError \"From Range Not found for table cust.txt\"\r\n"
            "\tcall HandleErrors\r\n"
            "\tExit Sub\r\n"
            "End if\r\n"
            "If ToRng <> \"\" then \r\n"
            "arrfld = split(ToRng,\",\")\r\n"
            "\r\n\tvarint_to_cust.txt_custno = arrfld(2)"
            "\r\n\tvarint_to_cust.txt_region = clng(arrfld(0))"
            "\r\n\tvarstr_to_cust.txt_opened = cdate(arrfld(1))\r\n"
            "Else \r\n"
            "\t RaiseError \"To Range Not found for table cust.txt\"\r\n"
            "\tCall HandleErrors \r\n"
            "\tExit Sub\r\n"
            "End if");
  // The condition compares with the variables the script assigns. The
  // file's fields are qualified by its base name, as its select text names
  // them (the translation makes cust.region the text driver's cust_region).
  EXPECT_NE(
      pieces.condition.find("(cust.region > varint_from_cust.txt_region)"),
      std::string::npos)
      << pieces.condition;
  EXPECT_NE(pieces.condition.find("cust.custno = varint_to_cust.txt_custno)"),
            std::string::npos);
  EXPECT_EQ(pieces.condition.find("cust.txt."), std::string::npos);
}

TEST(BuildLegacySplitRangeCode, TableFieldsAreQualifiedByTheTable) {
  testing::TestContext t(GeneratorKind::kLegacy);
  t.repo->Answer(
      "select * from qxlgy150 where flno='sales.ordh' and flna ='k' and "
      "appl='LEG' and dtyp in ('M','S','T')",
      Rows({"flna", "dtyp"}, {{"k", "S"}}));
  t.repo->Answer(
      "select * from qxlgy150 where flno='sales.ordh' and flna in ('k') and "
      "appl='LEG'",
      Rows({"flna", "dtyp"}, {{"k", "S"}}));
  const SplitRangePieces pieces = Build_Legacy_Split_Range_Code(
      t.ctx, "LEG", "abcde001", "sales.ordh", "k");
  EXPECT_EQ(pieces.condition,
            "((sales.ordh.k > varstr_from_sales.ordh_k) and \r\n"
            "(sales.ordh.k <= varstr_to_sales.ordh_k))");
}

TEST(BuildLegacySplitRangeCode, RepositoryErrorsGoToTheCaller) {
  testing::TestContext t(GeneratorKind::kLegacy);
  EXPECT_THROW(Build_Legacy_Split_Range_Code(t.ctx, "LEG", "abcde001",
                                             "cust.txt", "custno"),
               VbError);
  EXPECT_EQ(t.log->text(), "");
}

TEST(GetFromToRange, TheRoutinesAsTheRangeScriptCallsThem) {
  EXPECT_EQ(GetFromToRange(),
            "\r\nsub GetFromToRange(StrSrcTable,StrFrom,StrTo)"
            "\r\n\tdim strtmp"
            "\r\n\tdim arrFromTo"
            "\r\n\tstrtmp = objsplitdict.item(StrSrcTable)"
            "\r\n\tarrFromTo = split(strtmp,\"|\")"
            "\r\n\tif ubound(arrFromTo) > 0 then"
            "\r\n\t\tstrFrom = arrFromTo(0)"
            "\r\n\t\tStrTo = arrFromTo(1)"
            "\r\n\tElse "
            "\r\n\t\tstrFrom =\"\""
            "\r\n\t\tStrTo = \"\""
            "\r\n\tend if"
            "\r\nend sub"
            "\r\nsub RaiseError(strmsg)"
            "\r\n\tErr.raise 999,,strmsg"
            "\r\nend sub");
}

}  // namespace
}  // namespace mx::legacy
