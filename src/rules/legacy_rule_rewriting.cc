#include "rules/legacy_rule_rewriting.h"

#include <vector>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "rules/rule_passes.h"

namespace mx::legacy {

namespace {

// The legacy messages show the text they were working on, after a line of
// their own that names what it is.
std::string WithHint(const std::string& message, const std::string& label,
                     const std::string& text) {
  return message + vb::kCrLf + label + text;
}

// A declaration reads "Dim name As Type = initial". An initial value that is
// not a string literal makes the variable numeric; a variable without one is
// taken for a string.
constexpr size_t kInitialValueWord = 5;

}  // namespace

bool Get_EmptyValuesForVariables(BuildContext& ctx,
                                 const std::string& /*src_appl*/,
                                 const std::string& variable,
                                 std::string* value) {
  value->clear();
  const std::vector<std::string> words =
      rules::DeclarationWords(ctx.doc.declared_variables, variable);
  const bool numeric = words.size() > kInitialValueWord &&
                       !vb::Contains(words[kInitialValueWord], "\"");
  *value = numeric ? "0" : "\" \"";
  return true;
}

bool Replace_Target(BuildContext& ctx, bool target_source,
                    const std::string& /*src_appl*/,
                    const std::string& trg_appl, const std::string& text,
                    std::string* result) {
  result->clear();
  if (target_source) {
    *result = text;
    return true;
  }
  try {
    *result = rules::ReplaceTargets(ctx, trg_appl, text);
    return true;
  } catch (const VbError& e) {
    result->clear();
    ctx.ReportError(e, rules::RewriteError("Replace_Target", e));
    return false;
  }
}

bool Replace_Empty_Default(BuildContext& ctx, const std::string& src_appl,
                           const std::string& text, bool empty_keyword,
                           std::string* result) {
  result->clear();
  std::string text_at_error = text;
  try {
    *result = rules::ReplaceAssignments(
        text, empty_keyword,
        [&](const std::string& variable, std::string* value) {
          return Get_EmptyValuesForVariables(ctx, src_appl, variable, value);
        },
        &text_at_error);
    return true;
  } catch (const VbError& e) {
    result->clear();
    ctx.ReportError(e, WithHint(rules::RewriteError("Replace_Empty_Default", e),
                                "Hint : for rules", text_at_error));
    return false;
  }
}

bool Replace_Empty_Default_Target(BuildContext& ctx, bool target_source,
                                  const std::string& StrSrcAppl,
                                  const std::string& StrTrgAppl,
                                  const std::string& StrString,
                                  std::string* Return_String) {
  Return_String->clear();
  std::string text = StrString;
  try {
    std::string rewritten;
    if (!Replace_Target(ctx, target_source, StrSrcAppl, StrTrgAppl, text,
                        &rewritten)) {
      return false;
    }
    text = std::move(rewritten);
    // As in the data-dictionary class, the gates are case-sensitive.
    for (bool empty_keyword : {true, false}) {
      if (!vb::Contains(text, empty_keyword ? "empty" : "default")) continue;
      if (!Replace_Empty_Default(ctx, StrSrcAppl, text, empty_keyword,
                                 &rewritten)) {
        return false;
      }
      text = std::move(rewritten);
    }
    *Return_String = std::move(text);
    return true;
  } catch (const VbError& e) {
    Return_String->clear();
    ctx.ReportError(
        e, WithHint(rules::RewriteError("Replace_Empty_Default_Target", e),
                    "Hint : for Rules : ", text));
    return false;
  }
}

}  // namespace mx::legacy
