// The well-formedness test: plain XML (plain_xml.h) passes at once; any
// other text is converted from Windows-1252 to UTF-8 and read by expat in one
// pass, and the first error and its line are reported.
#include "platform/xml_check.h"

#include <expat.h>

#include <climits>
#include <memory>
#include <new>

#include "platform/encoding.h"
#include "platform/plain_xml.h"

namespace mx {
namespace {

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using ParserPtr = std::unique_ptr<XML_ParserStruct, ParserFree>;

// Feeds the whole text, in pieces that fit expat's int lengths.
bool ParseAll(XML_Parser parser, std::string_view utf8) {
  constexpr size_t kMaxPiece = INT_MAX / 2;
  do {
    const std::string_view piece = utf8.substr(0, kMaxPiece);
    utf8.remove_prefix(piece.size());
    const int is_final = utf8.empty() ? 1 : 0;
    if (XML_Parse(parser, piece.data(), static_cast<int>(piece.size()),
                  is_final) == XML_STATUS_ERROR) {
      return false;
    }
  } while (!utf8.empty());
  return true;
}

}  // namespace

// The parser is told the text is UTF-8, since it is after conversion; an
// encoding named in an XML declaration of the text no longer applies.
XmlCheck CheckWellFormed(std::string_view text) {
  XmlCheck check;
  if (IsPlainWellFormedXml(text)) {
    check.well_formed = true;
    check.plain = true;
    return check;
  }
  const std::string utf8 = Win1252ToUtf8(text);
  ParserPtr parser(XML_ParserCreate("UTF-8"));
  if (!parser) throw std::bad_alloc();
  check.well_formed = ParseAll(parser.get(), utf8);
  if (!check.well_formed) {
    check.message = XML_ErrorString(XML_GetErrorCode(parser.get()));
    check.line = static_cast<long>(XML_GetCurrentLineNumber(parser.get()));
  }
  return check;
}

}  // namespace mx
