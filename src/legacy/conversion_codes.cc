#include "legacy/conversion_codes.h"

#include <algorithm>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "platform/xml_escaping.h"

namespace mx::legacy {

namespace {

constexpr char kPairSeparator[] = "~|~";

// Drops the separator after the last pair of a code.
void DropTrailingSeparator(std::string* text) {
  if (!vb::IsBlank(*text))
    text->resize(text->size() - std::min<size_t>(3, text->size()));
}

std::string CodeElements(BuildContext& ctx) {
  auto rs = ctx.Query(
      " select qxlgy115.code, qxlgy115.ival, qxlgy115.oval  from qxlgy115  "
      "order by qxlgy115.code,qxlgy115.ival ");
  std::string text;
  std::string current;
  for (; !rs.Eof(); rs.MoveNext()) {
    const std::string code = rs.Fields("code").ToTextOrEmpty();
    if (vb::IsBlank(current)) {
      current = code;
      text += "<" + code + ">";
    } else if (code != current) {
      DropTrailingSeparator(&text);
      text += "</" + current + ">";
      current = code;
      text += "<" + code + ">";
    }
    text += Escape_XML_Text(rs.Fields("ival").ToTextOrEmpty() + "-" +
                            rs.Fields("oval").ToTextOrEmpty() + kPairSeparator);
  }
  if (!vb::IsBlank(text)) {
    DropTrailingSeparator(&text);
    text += "</" + current + ">";
  }
  return text;
}

}  // namespace

bool Create_Conversion_Code_XML(BuildContext& ctx, std::string* text) {
  try {
    *text = "<CONVERSION-CODES>" + CodeElements(ctx) + "</CONVERSION-CODES>";
    return true;
  } catch (const VbError& e) {
    ctx.ReportError(e, "\t\tERROR in Create_Conversion_Code_XML:- " +
                           vb::ErrNo(e.number()) + " - " + e.description() +
                           vb::kCrLf);
    return false;
  }
}

}  // namespace mx::legacy
