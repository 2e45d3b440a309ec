// What a field's mapping rule becomes inside a DUMP element: the 4GL value
// text of a rule of type 0 (one procedure for string fields, one for every
// other type), and the TVAR expression of a rule of type 1. Each takes the
// field's record from the field store; none writes tags or escapes.
#ifndef MX_XML_DUMP_RULES_H_
#define MX_XML_DUMP_RULES_H_

#include <string>

#include "context/build_context.h"
#include "movx20xmlgen/records.h"

namespace mx::dd {

// The applications a rule is rewritten against.
struct RuleApplications {
  std::string sapp;  // source: source-field and variable lookups
  std::string tapp;  // target: enumeration constants
};

// The value text of a rule of type 0 for a string field: the named source
// field's details, default()/target(/empty() replaced, and the str$, case,
// alignment, to.native and empty-string wrappers. False when a lookup failed
// (it has reported its error).
[[nodiscard]] bool RewriteStringFieldRule(BuildContext& ctx,
                                          const CFieldInfo& field,
                                          const std::string& rule,
                                          const RuleApplications& apps,
                                          std::string* value);

// The value text of a rule of type 0 for any other field: the etol test of
// mandatory enumerations, default()/target(/empty() replaced, MANDUTC for
// mandatory UTC fields. False when the rule rewriting failed (reported).
[[nodiscard]] bool RewriteOtherFieldRule(BuildContext& ctx,
                                         const CFieldInfo& field,
                                         const std::string& rule,
                                         const RuleApplications& apps,
                                         std::string* value);

// The TVAR expression of a rule of type 1 for field `field_name` of table
// `table`: the target variable, wrapped for case, alignment, native text and
// the empty-string test when the field holds a string.
std::string TargetVariableExpression(const CFieldInfo& field,
                                     const std::string& table,
                                     const std::string& field_name);

}  // namespace mx::dd

#endif  // MX_XML_DUMP_RULES_H_
