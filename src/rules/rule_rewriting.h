// Rule rewriting: target(...) references become enumeration constants, and
// lines that assign empty() or default() to a declared variable become an
// assignment of the empty value of the variable's type.
#ifndef MX_RULES_RULE_REWRITING_H_
#define MX_RULES_RULE_REWRITING_H_

#include <string>

#include "context/build_context.h"

namespace mx::dd {

// The public operation: target pass, then "empty", then "default". False
// (reported, *return_string empty) when a pass fails.
[[nodiscard]] bool Replace_Empty_Default_Target(BuildContext& ctx,
                                                const std::string& StrSrcAppl,
                                                const std::string& StrTrgAppl,
                                                const std::string& StrString,
                                                std::string* Return_String);

// One of the two assignment passes: keyword "empty" when `empty_keyword`,
// else "default". Reports and returns false on error.
[[nodiscard]] bool Replace_Empty_Default(BuildContext& ctx,
                                         const std::string& src_appl,
                                         const std::string& text,
                                         bool empty_keyword,
                                         std::string* result);

// The empty value of a declared variable. Raises error 999 when it is not
// declared; false (no value, reported) when its domain is not described;
// raises the repository's error when the domain lookup gets no answer.
[[nodiscard]] bool Get_EmptyValuesForVariables(BuildContext& ctx,
                                               const std::string& src_appl,
                                               const std::string& variable,
                                               std::string* value,
                                               bool* has_value);

}  // namespace mx::dd

namespace mx {

// The value of an enumeration constant, "(pkdomain.name)" in; shared by both
// classes. A failure gives what it had (empty), except that the repository's
// own errors (repository::IsRepositoryFailure) are raised: a rule whose
// constant could not be read is not written as if it had no constant.
std::string Get_Enum_Constant_Value(BuildContext& ctx,
                                    const std::string& target_application,
                                    const std::string& expression);

}  // namespace mx

#endif  // MX_RULES_RULE_REWRITING_H_
