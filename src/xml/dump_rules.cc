#include "xml/dump_rules.h"

#include <cstdint>
#include <utility>

#include "dictionary/domain_details.h"
#include "platform/vb_text.h"
#include "rules/rule_rewriting.h"
#include "xml/dump_field_values.h"

namespace mx::dd {

namespace {

// The downstream 4GL's test for an empty string. The quotes are written as
// entities already: inside a TVAR attribute they stay so, inside a VALUE the
// escaping of the value text turns them into &amp;quot; once more, which the
// downstream reader expects.
constexpr char kEmptyStringLiteral[] = "&quot;&quot;";

std::string Length(const CFieldInfo& field) {
  return vb::NumberToText(int64_t{field.IntFieldLength});
}

std::string Call(const char* function, const std::string& argument) {
  return std::string(function) + "(" + argument + ")";
}

std::string AlignCall(const char* function, const std::string& argument,
                      const CFieldInfo& field) {
  return std::string(function) + "(" + argument + "," + Length(field) + ")";
}

std::string EmptyStringTest(const std::string& expression,
                            const CFieldInfo& field) {
  return "(" + expression + ")=" + kEmptyStringLiteral + " ? empty.string(1;" +
         Length(field) + "):" + expression;
}

std::string WithoutBlanks(const std::string& text) {
  return vb::Replace(text, " ", "");
}

std::string UpperType(const CFieldInfo& field) {
  return vb::UCase(field.StrFieldType);
}

bool IsMandatory(const CFieldInfo& field) { return field.StrMandField == "Y"; }

// A 4GL comment: everything from the first vertical bar on is kept aside
// and comes back, unchanged, behind a TAB at the end of the value.
struct RuleAndTail {
  std::string rule;
  std::string tail;
};

RuleAndTail SplitTail(const std::string& rule) {
  const size_t bar = vb::InStr(rule, "|");
  if (bar == 0) return {rule, ""};
  return {vb::Left(rule, bar - 1), vb::Mid(rule, bar)};
}

std::string WithTail(const std::string& rule, const std::string& tail) {
  return vb::IsBlank(tail) ? rule : rule + "\t" + tail;
}

// Three numeric characters from 1-based position `first`, then a full stop:
// the table number and the dot of a reference package + module + number +
// "." + field.
bool HasTableNumberAndDotAt(const std::string& rule, size_t first) {
  const size_t dot = first + 3;  // 1-based
  return rule.size() >= dot && rule[dot - 1] == '.' &&
         vb::IsNumeric(vb::Mid(rule, first, 3));
}

// A source field reference such as abcde123.name (the empty-string test is
// left to the source field's own value).
bool IsSourceFieldReference(const std::string& rule) {
  return rule.size() > 9 && HasTableNumberAndDotAt(rule, 6);
}

// A bare text that can only be the name of a source field: no literal, no
// call, no number.
bool NamesSourceField(const std::string& rule) {
  const std::string trimmed = vb::Trim(rule);
  return !vb::Contains(rule, "\"") && !vb::Contains(rule, "(") &&
         !vb::ContainsText(rule, "empty.string") && !trimmed.empty() &&
         trimmed != "0" && !vb::IsNumeric(rule);
}

// The first target(...) of a string rule becomes the enumeration constant's
// value; the rule loses its blanks when it holds one. As in the target pass
// of the rule rewriting, a reference without its ")" or whose lookup gives
// nothing (a failed query) stays as written rather than vanish.
std::string ReplaceFirstTarget(BuildContext& ctx, const std::string& rule,
                               const std::string& tapp) {
  const std::string compact = WithoutBlanks(rule);
  const size_t start = vb::InStrText(compact, "target(");
  if (start == 0) return rule;
  const size_t close = vb::InStr(start, compact, ")");
  if (close == 0) return compact;
  const std::string value = Get_Enum_Constant_Value(
      ctx, tapp, vb::Mid(compact, start, close - start + 1));
  if (vb::IsBlank(value)) return compact;
  return vb::Left(compact, start - 1) + value + vb::Mid(compact, close + 1);
}

// Whether the string wrappers apply: not an empty string already, not a
// blank literal, not empty and not zero.
bool TakesStringWrappers(const std::string& rule) {
  const std::string trimmed = vb::Trim(rule);
  return !vb::ContainsText(rule, "empty.string") &&
         !vb::Contains(rule, "String.Set$(\" \"") && !trimmed.empty() &&
         trimmed != "0";
}

std::string WithCase(const std::string& rule, const std::string& code) {
  if (code == "U" && !vb::ContainsText(rule, "toupper$")) {
    return Call("toupper$", rule);
  }
  if (code == "L" && !vb::ContainsText(rule, "tolower$")) {
    return Call("tolower$", rule);
  }
  return rule;
}

std::string WithAlignment(const std::string& rule, const CFieldInfo& field) {
  if (field.StrFieldAlign == "L" && !vb::ContainsText(rule, "Left.Align")) {
    return AlignCall("Left.Align", rule, field);
  }
  if (field.StrFieldAlign == "R" && !vb::ContainsText(rule, "Right.Align")) {
    return AlignCall("Right.Align", rule, field);
  }
  return rule;
}

// The wrappers of a string value, innermost first: str$ for a source field
// that is not a string, case and alignment where the target field's differ
// from the source field's (or the source is shorter and the target is right
// aligned), to.native for native text, and the empty-string test unless the
// value is a source field.
std::string WrapStringValue(std::string rule, const CFieldInfo& field,
                            const FieldDomainDetails& source,
                            bool source_field) {
  if (!source.type.empty() && source.type != "M" && source.type != "S") {
    rule = Call("str$", rule);
  }
  if (field.StrFieldCase != source.case_conversion) {
    rule = WithCase(rule, field.StrFieldCase);
  }
  if (field.StrFieldAlign != source.alignment) {
    rule = WithAlignment(rule, field);
  } else if (source.length != 0 && source.length < field.IntFieldLength &&
             field.StrFieldAlign == "R") {
    rule = AlignCall("Right.Align", rule, field);
  }
  if (UpperType(field) == "M") rule = Call("to.native", rule);
  if (!source_field) rule = EmptyStringTest(rule, field);
  return rule;
}

// A mandatory enumeration given as a source field (or as etol of one) is
// tested for 0, which stands for "no value": the field's default then.
std::string WithEnumerationTest(const std::string& rule) {
  if (vb::Left(rule, 5) == "etol(" && rule.size() >= 14) {
    if (HasTableNumberAndDotAt(rule, 11)) {
      return rule + "= 0  ? default(): " + rule;
    }
    return rule;
  }
  if (HasTableNumberAndDotAt(rule, 6)) {
    return "etol(" + rule + ") = 0 ? default(): etol(" + rule + ")";
  }
  return rule;
}

}  // namespace

bool RewriteStringFieldRule(BuildContext& ctx, const CFieldInfo& field,
                            const std::string& rule,
                            const RuleApplications& apps, std::string* value) {
  value->clear();
  const RuleAndTail parts = SplitTail(rule);
  std::string r = parts.rule;
  // Every rule starts from no source details: a literal never inherits the
  // source field of the rule before it.
  FieldDomainDetails source;
  if (NamesSourceField(r) &&
      !Get_Field_Domain_Details(ctx, vb::Trim(r), apps.sapp, &source)) {
    return false;
  }
  r = ReplaceDefaults(r, field);
  r = ReplaceFirstTarget(ctx, r, apps.tapp);
  r = ReplaceFirstEmpty(r, field);
  const bool source_field = IsSourceFieldReference(r);
  if (TakesStringWrappers(r)) {
    r = WrapStringValue(std::move(r), field, source, source_field);
  }
  *value = WithTail(r, parts.tail);
  return true;
}

bool RewriteOtherFieldRule(BuildContext& ctx, const CFieldInfo& field,
                           const std::string& rule,
                           const RuleApplications& apps, std::string* value) {
  value->clear();
  const RuleAndTail parts = SplitTail(rule);
  std::string r = parts.rule;
  const std::string type = UpperType(field);
  if (type == "E" && r.size() > 9 && IsMandatory(field)) {
    r = WithEnumerationTest(r);
  }
  r = ReplaceDefaults(r, field);
  const std::string compact = WithoutBlanks(r);
  if (vb::ContainsText(compact, "target(")) {
    if (!Replace_Empty_Default_Target(ctx, apps.sapp, apps.tapp, compact, &r)) {
      return false;
    }
  }
  r = ReplaceFirstEmpty(r, field);
  if (type == "K" && IsMandatory(field)) r = Call("MANDUTC", vb::Trim(r));
  *value = WithTail(r, parts.tail);
  return true;
}

std::string TargetVariableExpression(const CFieldInfo& field,
                                     const std::string& table,
                                     const std::string& field_name) {
  std::string expression = "var." + table + "." + field_name;
  const std::string type = UpperType(field);
  if (!IsStringField(field)) {
    if (type == "K" && IsMandatory(field)) return Call("MANDUTC", expression);
    return expression;
  }
  if (field.StrFieldCase == "U") expression = Call("toupper$", expression);
  if (field.StrFieldCase == "L") expression = Call("tolower$", expression);
  if (field.StrFieldAlign == "L") {
    expression = AlignCall("Left.Align", expression, field);
  }
  if (field.StrFieldAlign == "R") {
    expression = AlignCall("Right.Align", expression, field);
  }
  if (type == "M") expression = Call("to.native", expression);
  return EmptyStringTest(expression, field);
}

}  // namespace mx::dd
