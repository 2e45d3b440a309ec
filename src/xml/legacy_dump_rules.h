// What a field becomes inside a DUMP element of a legacy document: the value
// of a field without a rule, the value of a rule of type 0 and the TVAR
// expression of a rule of type 1. The conversion program converts dates and
// times, checks strings for emptiness and aligns them through its ObjCnv
// object; these texts call it. None writes tags or escapes.
#ifndef MX_XML_LEGACY_DUMP_RULES_H_
#define MX_XML_LEGACY_DUMP_RULES_H_

#include <string>

#include "context/conversion_object.h"
#include "movx20xmlgen/records.h"

namespace mx::legacy {

// A field without a rule in the dump: its neutral value, converted ("K",
// "T") or checked for emptiness ("S", "M").
std::string NeutralFieldValue(const CFieldInfo& field);

// A rule of type 0: default() and empty() replaced by the field's values,
// then converted ("K", "T"), or for a string fitted to the field's case and
// length (unless it is a space(...) already) and checked for emptiness.
std::string ValueRuleText(const CFieldInfo& field, const std::string& rule);

// The target variable of a rule of type 1 for field `field_name` of the
// object's target table, wrapped as the field's type asks.
std::string TargetVariableExpression(const CFieldInfo& field,
                                     const ConversionObject& object,
                                     const std::string& field_name);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_DUMP_RULES_H_
