#include "split/from_to_range.h"

#include "platform/vb_text.h"

namespace mx::legacy {

std::string GetFromToRange() {
  static const char* const kLines[] = {
      "sub GetFromToRange(StrSrcTable,StrFrom,StrTo)",
      "\tdim strtmp",
      "\tdim arrFromTo",
      "\tstrtmp = objsplitdict.item(StrSrcTable)",
      "\tarrFromTo = split(strtmp,\"|\")",
      "\tif ubound(arrFromTo) > 0 then",
      "\t\tstrFrom = arrFromTo(0)",
      "\t\tStrTo = arrFromTo(1)",
      "\tElse ",
      "\t\tstrFrom =\"\"",
      "\t\tStrTo = \"\"",
      "\tend if",
      "end sub",
      "sub RaiseError(strmsg)",
      "\tErr.raise 999,,strmsg",
      "end sub",
  };
  std::string text;
  for (const char* line : kLines) text += std::string(vb::kCrLf) + line;
  return text;
}

}  // namespace mx::legacy
