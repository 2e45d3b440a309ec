#include "xml/legacy_preconditions.h"

#include <cstdint>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "rules/legacy_rule_rewriting.h"
#include "xml/legacy_query.h"

namespace mx::legacy {

namespace {

constexpr int32_t kRewriteFailed = 125;

VbError RewriteFailed() { return VbError(kRewriteFailed, "XMLGeneration", ""); }

// This element words its errors with "ERROR:" and " - ", and ends them with
// a line break as every legacy message does.
void ReportPreConditionsError(BuildContext& ctx, const VbError& error) {
  ctx.ReportError(error, "\t\tERROR:" + vb::ErrNo(error.number()) + " - " +
                             error.description() + vb::kCrLf);
}

}  // namespace

bool Construct_PreConditions_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                                 const std::string& precondition,
                                 const std::string& sapp,
                                 const std::string& tapp,
                                 const std::string& /*stbl*/,
                                 std::string* text) {
  text->clear();
  try {
    // A failed rewriting hands back no text. Going on with it would write
    // the document without its pre-conditions, migrate statements and all,
    // while the run counts the object as converted; it fails instead.
    std::string rewritten;
    if (!Replace_Empty_Default_Target(ctx, facts.target_source, sapp, tapp,
                                      precondition, &rewritten)) {
      throw RewriteFailed();
    }
    std::string translated;
    if (!Convert_Select_Section(ctx, rewritten, sapp, &translated)) {
      throw RewriteFailed();
    }
    *text = std::string("<PRE-CONDITIONS>") + vb::kCrLf + translated +
            vb::kCrLf + "</PRE-CONDITIONS>" + vb::kCrLf;
    return true;
  } catch (const VbError& e) {
    ReportPreConditionsError(ctx, e);
    return false;
  }
}

}  // namespace mx::legacy
