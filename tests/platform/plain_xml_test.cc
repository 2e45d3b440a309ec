// The quick well-formedness test never vouches for a text that expat
// refuses: checked on the shapes the builders write, on each construct it
// leaves to expat, and on many random variations of such texts, each read by
// expat itself.
#include "platform/plain_xml.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace mx {
namespace {

// Expat's verdict on ASCII text, as the document check asks it.
bool ExpatWellFormed(std::string_view text) {
  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(
      XML_ParserCreate("UTF-8"), XML_ParserFree);
  return XML_Parse(parser.get(), text.data(), static_cast<int>(text.size()),
                   1) == XML_STATUS_OK;
}

// Choices among n, uniform and repeatable.
class Picker {
 public:
  explicit Picker(uint32_t seed) : random_(seed) {}
  size_t operator()(size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random_);
  }

 private:
  std::mt19937 random_;
};

const std::vector<std::string>& Samples() {
  static const std::vector<std::string> samples = {
      "<TBM00000 TYPE =\"F\" TARGETTABLES = \"tbm00000\">\r\n <INFO>\r\n"
      "<TFLD> <F001 DOMA = \"tbd028\" COMB = \"N\" CHLD = \"\"  TYPE = \"E\" "
      "LENG = \"32\" BDEC = \"\" ADEC  = \"\"  >  </F001> \r\n</TFLD><IND> "
      "<IND-1 NUMB = \"1\"  PART = \"f001|fkey\" DUPL = \"N\" >  </IND-1 > \r\n"
      "</IND></INFO></TBM00000>",
      "<PRE-CONDITIONS>\r\n| rows with amount &lt; 1000 &amp; active\r\n"
      "select a.* from a where a.s &amp;lt;&amp;gt; \" \"\r\n"
      "</PRE-CONDITIONS>",
      "<DUMPS><DUMP-1 TARGET=\"t\">\r\n<F001 TYPE = \"0\"><VALUE>"
      "Left.Align(toupper$(str$(s.s003)),24) ? x : 'y' ] ]></VALUE></F001>\r\n"
      "<F002-1 TYPE = '1'><VALUE>a=&quot;b&quot; &apos;c&apos; &gt;"
      "</VALUE></F002-1><E/><E a='&lt;'/>\r\n</DUMP-1></DUMPS>\r\n",
      "  \r\n<A\tb\r\n=\n'x\"y>'   c = \"\t\"\r\n/>\r\n \t",
  };
  return samples;
}

TEST(PlainXmlTest, AcceptsTheShapesTheBuildersWrite) {
  for (const std::string& sample : Samples()) {
    EXPECT_TRUE(IsPlainWellFormedXml(sample)) << sample;
    EXPECT_TRUE(ExpatWellFormed(sample)) << sample;
  }
}

TEST(PlainXmlTest, LeavesOtherConstructsToExpat) {
  // Well-formed, but not plain: expat decides.
  for (const char* text : {"<A><!-- note --></A>", "<A><![CDATA[x]]></A>",
                           "<?xml version=\"1.0\"?><A/>", "<A><?pi x?></A>",
                           "<!DOCTYPE A><A/>", "<A>&#65;</A>", "<A>&#x41;</A>",
                           "<A x=\"&#65;\"/>", "<A>caf\xC3\xA9</A>", "<A:B/>",
                           "<xml-a/>", "<A XMLNS=\"u\"/>", "<A>\x7F</A>"}) {
    EXPECT_FALSE(IsPlainWellFormedXml(text)) << text;
  }
  // Not well-formed.
  for (const char* text : {"",
                           "  ",
                           "x<A/>",
                           "<A/>x",
                           "<A/><B/>",
                           "<A>",
                           "<A></B>",
                           "<A></A >x",
                           "< A/>",
                           "<A/ >",
                           "</A>",
                           "<A x='1' x='2'/>",
                           "<A x='1'y='2'/>",
                           "<A x=1/>",
                           "<A x/>",
                           "<A x='<'/>",
                           "<A x='&'/>",
                           "<A>&</A>",
                           "<A>&lt</A>",
                           "<A>&nbsp;</A>",
                           "<A>]]></A>",
                           "<A x=']]>'/>",
                           "<A>\x01</A>",
                           "<A x='1\"/>",
                           "<1A/>",
                           "<A><B></A></B>"}) {
    EXPECT_FALSE(IsPlainWellFormedXml(text)) << text;
  }
}

// Random edits of the samples, biased to the bytes that matter to XML. Each
// variant the quick test accepts must be well-formed for expat; the count
// shows that the variants reach both verdicts.
TEST(PlainXmlTest, NeverAcceptsWhatExpatRefuses) {
  const std::string alphabet =
      "<>/=\"'&;!?[]-._: \t\r\nabxlmtgpqouAXML019#\x7F\x01\xE9";
  Picker pick(20260301);
  int accepted = 0;
  int refused = 0;
  for (int round = 0; round < 60000; ++round) {
    std::string text = Samples()[pick(Samples().size())];
    const size_t edits = 1 + pick(3);
    for (size_t e = 0; e < edits && !text.empty(); ++e) {
      const size_t at = pick(text.size());
      switch (pick(5)) {
        case 0:
          text.insert(at, 1, alphabet[pick(alphabet.size())]);
          break;
        case 1:
          text.erase(at, 1 + pick(3));
          break;
        case 2:
          text[at] = alphabet[pick(alphabet.size())];
          break;
        case 3:  // a piece copied elsewhere: tags and attributes repeat
          text.insert(pick(text.size()), text.substr(at, 1 + pick(12)));
          break;
        default:
          if (at + 1 < text.size()) std::swap(text[at], text[at + 1]);
      }
    }
    if (IsPlainWellFormedXml(text)) {
      ++accepted;
      ASSERT_TRUE(ExpatWellFormed(text)) << "accepted: " << text;
    } else {
      ++refused;
    }
  }
  EXPECT_GT(accepted, 1000);
  EXPECT_GT(refused, 10000);
}

// A document joined from plain pieces is vouched for without being read
// again only when reading it would accept it too: random frames and
// sections, among them pieces that are plain alone and make "]]>" where they
// meet, and frames between which no element fits.
TEST(PlainJoinTest, VouchesOnlyForJoinsThatAreWellFormed) {
  const std::vector<std::pair<std::string, std::string>> frames = {
      {"<R TYPE =\"F\">\r\n", "</R>"},
      {"<R>", "</R>\r\n"},
      {"<R>]", "</R>"},
      {"<R>", "]></R>"},
      {"<R", "/>"},
      {"<R a='", "'/>"},
      {"", "<R/>"},
      {"<R><S>", "</S></R>"},
      {"<R>", "</Q>"}};
  const std::vector<std::string> pieces = {
      "<A/>", "<B x='1'>t</B>\r\n", "]", "]]",  ">",    "]>",   "a&amp;b",
      " ",    "<C>]</C>",           "&", "<D>", "</D>", "\xE9", "<E></E>]"};
  Picker pick(20261206);
  int vouched = 0;
  int not_vouched = 0;
  for (int round = 0; round < 20000; ++round) {
    const auto& [opening, closing] = frames[pick(frames.size())];
    PlainJoin join(opening, closing);
    std::string document = opening;
    for (size_t n = pick(5); n > 0; --n) {
      const std::string& piece = pieces[pick(pieces.size())];
      join.Add(document, piece, IsPlainWellFormedXml("<w>" + piece + "</w>"));
      document += piece;
    }
    join.Add(document, closing, true);
    document += closing;
    if (join.plain()) {
      ++vouched;
      ASSERT_TRUE(IsPlainWellFormedXml(document)) << document;
      ASSERT_TRUE(ExpatWellFormed(document)) << document;
    } else {
      ++not_vouched;
    }
  }
  EXPECT_GT(vouched, 2000);
  EXPECT_GT(not_vouched, 2000);
}

}  // namespace
}  // namespace mx
