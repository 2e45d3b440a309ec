#include "xml/legacy_info_tag.h"

#include "dictionary/index_tag.h"
#include "dictionary/legacy_field_tag.h"
#include "dictionary/legacy_source_info_tag.h"
#include "platform/vb_text.h"
#include "xml/legacy_variable_tag.h"

namespace mx::legacy {

bool Construct_Info_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                        const ConversionObject& object, std::string* stbl,
                        std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    const std::string upper = object.UpperTableCode();
    std::string info =
        std::string(" <INFO>") + vb::kCrLf + " <" + upper + ">" + vb::kCrLf;
    std::string part;
    if (!Construct_Field_Tag(ctx, facts, object.tapp, object.cpac, object.cmod,
                             object.flno, &part)) {
      return false;
    }
    info += part;
    // The IND element is the same in both classes.
    if (!dd::Construct_Index_Tag(ctx, object.tapp, object.cpac, object.cmod,
                                 object.flno, &part)) {
      return false;
    }
    info += part + " </" + upper + ">";
    if (!Construct_Variable_Tag(ctx, facts, object, stbl, &part)) return false;
    info += part;
    if (!Construct_Source_Info_Tag(ctx, object.sapp, *stbl, &part)) {
      return false;
    }
    info += part + " </INFO>" + vb::kCrLf;
    *text = std::move(info);
    return true;
  });
}

}  // namespace mx::legacy
