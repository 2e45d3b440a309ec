// Rule rewriting of the data-dictionary class, and the enumeration lookup
// that both classes share.
//
// A rule text is rewritten in three passes: target(...) references become
// the constant's value, then lines that assign empty() and then default() to
// a declared variable become an assignment of the variable's empty value.
// The passes themselves are shared with the legacy class (rule_passes.h);
// what is this class's own is the empty value of each kind of declaration.
#include "rules/rule_rewriting.h"

#include <cstdint>
#include <exception>
#include <string_view>
#include <vector>

#include "dictionary/domain_details.h"
#include "movx20xmlgen/error.h"
#include "platform/vb_convert.h"
#include "platform/vb_text.h"
#include "repository/connection.h"
#include "repository/sql_value.h"
#include "rules/rule_passes.h"

namespace mx {

using repository::SqlValue;

namespace {

constexpr size_t kNpos = std::string::npos;

std::string RemoveChars(std::string_view s, std::string_view chars) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (chars.find(c) == std::string_view::npos) out.push_back(c);
  }
  return out;
}
}  // namespace

std::string Get_Enum_Constant_Value(BuildContext& ctx,
                                    const std::string& target_application,
                                    const std::string& expression) {
  std::string value;
  try {
    size_t open = expression.find('(');
    size_t close = expression.find(')');
    if (close == kNpos) return "0";
    // Without "(" the reference starts at the first character.
    size_t first = open == kNpos ? 0 : open + 1;
    // A ")" before the "(" leaves no reference: nothing is looked up.
    if (first > close) return value;
    std::string reference = RemoveChars(
        std::string_view(expression).substr(first, close - first), " ");
    repository::Recordset rs = ctx.Query(
        "select cnst from qxddi230 where appl= '" +
        SqlValue(target_application) + "' and cpac + cdom + '.' + ctnm  ='" +
        SqlValue(reference) + "'");
    if (rs.Eof()) {
      // The reference stays in the rule, behind a comment bar.
      value = expression + "| ENUM Constant " + reference +
              " NOT FOUND in the DATA DICTIONARY";
    } else {
      value = rs.Fields("cnst").ToText();
    }
    rs.Close();
  } catch (const VbError& e) {
    // When the repository gave no answer the rule cannot be rewritten:
    // leaving the reference in it would write the rule as if it had been.
    if (repository::IsRepositoryFailure(e)) throw;
    // Any other failure gives what the lookup had so far: the caller then
    // leaves the reference unchanged.
  } catch (const std::exception&) {
  }
  return value;
}

namespace dd {

namespace {

using rules::RewriteError;

VbError InvalidProcedureCall() {
  return VbError(5, "MOVX20XMLGenerator", "Invalid procedure call or argument");
}

// `String.Set$(" ",LENGTH)`: a string of blanks of that length.
std::string BlankString(const std::string& length) {
  return "String.Set$(\" \"," + length + ")";
}

// The length of a string declared as name(LENGTH); "1" without one.
std::string DeclaredStringLength(const std::string& name_word) {
  size_t close = name_word.find(')');
  if (close == std::string::npos) return "1";
  size_t open = name_word.find('(');
  size_t first = open == std::string::npos ? 0 : open + 1;
  if (first > close) throw InvalidProcedureCall();
  return name_word.substr(first, close - first);
}

// The empty value of a domain's type code; false for a code with none.
bool EmptyValueOfDomainType(const DomainDetails& domain, std::string* value) {
  const std::string code = vb::Trim(domain.type);
  if (code.size() != 1) return false;
  switch (code[0]) {
    case 'B':
    case 'I':
    case 'L':
    case 'P':
    case 'U':
    case 'E':
      *value = "0";
      return true;
    case 'F':
    case 'D':
      *value = "0.0";
      return true;
    case 'S':
    case 'M':
      *value =
          BlankString(vb::NumberToText(int64_t{vb::LongOfVal(domain.length)}));
      return true;
    case 'T':
      *value = "utc(0,0,2)";
      return true;
    case 'K':
      *value = "utc(0,0)";
      return true;
    default:
      return false;
  }
}

// The domain of a variable declared with one. A domain that is not
// described is reported and leaves the variable without a value; a
// repository that gives no answer fails the rewrite, which would otherwise
// hand back the rule unrewritten as if all had gone well.
bool DomainOfVariable(BuildContext& ctx, const std::string& application,
                      const std::string& domain, DomainDetails* details) {
  try {
    *details = Read_Domain_Details(ctx, application, domain);
    return true;
  } catch (const VbError& e) {
    if (repository::IsRepositoryFailure(e)) throw;
    ctx.ReportOperationError(e);
    return false;
  }
}

}  // namespace

bool Get_EmptyValuesForVariables(BuildContext& ctx, const std::string& src_appl,
                                 const std::string& variable,
                                 std::string* value, bool* has_value) {
  value->clear();
  *has_value = false;
  std::vector<std::string> words =
      rules::DeclarationWords(ctx.doc.declared_variables, variable);
  // "extern" and "static" come before the type word.
  size_t type_index = 0;
  if (!words.empty()) {
    std::string first = vb::LCase(words[0]);
    if (first == "extern" || first == "static") type_index = 1;
  }
  if (words.size() < type_index + 2) throw errors::SubscriptOutOfRange();
  const std::string type = vb::LCase(words[type_index]);
  const std::string& name_word = words[type_index + 1];

  if (type == "string") {
    *value = BlankString(DeclaredStringLength(name_word));
    *has_value = true;
  } else if (type == "long") {
    *value = "0";
    *has_value = true;
  } else if (type == "double") {
    *value = "0.0";
    *has_value = true;
  } else if (type == "domain") {
    DomainDetails domain;
    if (!DomainOfVariable(ctx, src_appl, name_word, &domain)) return false;
    *has_value = EmptyValueOfDomainType(domain, value);
  }
  return true;
}

bool Replace_Empty_Default(BuildContext& ctx, const std::string& src_appl,
                           const std::string& text, bool empty_keyword,
                           std::string* result) {
  result->clear();
  try {
    // A lookup that succeeds without a value leaves the line as it is.
    *result = rules::ReplaceAssignments(
        text, empty_keyword,
        [&](const std::string& variable, std::string* value) {
          bool has_value = false;
          return Get_EmptyValuesForVariables(ctx, src_appl, variable, value,
                                             &has_value) &&
                 has_value;
        });
    return true;
  } catch (const VbError& e) {
    result->clear();
    ctx.ReportError(e, RewriteError("Replace_Empty_Default", e));
    return false;
  }
}

bool Replace_Empty_Default_Target(BuildContext& ctx,
                                  const std::string& StrSrcAppl,
                                  const std::string& StrTrgAppl,
                                  const std::string& StrString,
                                  std::string* Return_String) {
  Return_String->clear();
  try {
    std::string text = rules::ReplaceTargets(ctx, StrTrgAppl, StrString);
    // The gates are case-sensitive although the passes are not: an EMPTY()
    // is rewritten only when the text also holds "empty" in lower case.
    for (bool empty_keyword : {true, false}) {
      if (text.find(empty_keyword ? "empty" : "default") == std::string::npos) {
        continue;
      }
      std::string rewritten;
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
    ctx.ReportError(e, RewriteError("Replace_Empty_Default_Target", e));
    return false;
  }
}

}  // namespace dd
}  // namespace mx
