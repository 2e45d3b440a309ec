// Rule rewriting of the legacy class: the same three passes as the
// data-dictionary class (rule_rewriting.h), with three differences. The
// target pass is skipped while the run's target application has no data
// dictionary of extension kind (the target-source flag). Every declared
// variable has an empty value: "0" or a one-blank string literal, read from
// the declaration's sixth word. And an error of the empty/default pass or of
// the whole operation adds a "Hint : " line with the text being rewritten.
#ifndef MX_RULES_LEGACY_RULE_REWRITING_H_
#define MX_RULES_LEGACY_RULE_REWRITING_H_

#include <string>

#include "context/build_context.h"

namespace mx::legacy {

// The public operation: target pass, then "empty", then "default", on the
// declarations of ctx.doc.declared_variables. `target_source` is the run's
// target-source flag: while it is set the target pass leaves the text as it
// is. False (reported, *Return_String empty) when a pass fails.
bool Replace_Empty_Default_Target(BuildContext& ctx, bool target_source,
                                  const std::string& StrSrcAppl,
                                  const std::string& StrTrgAppl,
                                  const std::string& StrString,
                                  std::string* Return_String);

// The target pass: "target(pkdomain.name)" becomes the constant's value. The
// text comes back unchanged while `target_source` is set. Reports and returns
// false on error (*result empty).
bool Replace_Target(BuildContext& ctx, bool target_source,
                    const std::string& src_appl, const std::string& trg_appl,
                    const std::string& text, std::string* result);

// One of the two assignment passes: keyword "empty" when `empty_keyword`,
// else "default". Reports, with the text as it then stood, and returns false
// on error (*result empty).
bool Replace_Empty_Default(BuildContext& ctx, const std::string& src_appl,
                           const std::string& text, bool empty_keyword,
                           std::string* result);

// The empty value of a declared variable: "0" when its declaration has a
// sixth word without a double quote, else a one-blank string literal. Raises
// error 999 when the variable is not declared; otherwise always true.
bool Get_EmptyValuesForVariables(BuildContext& ctx, const std::string& src_appl,
                                 const std::string& variable,
                                 std::string* value);

}  // namespace mx::legacy

#endif  // MX_RULES_LEGACY_RULE_REWRITING_H_
