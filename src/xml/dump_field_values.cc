#include "xml/dump_field_values.h"

#include "platform/vb_text.h"

namespace mx {

namespace {

std::string WithoutBlanks(const std::string& text) {
  return vb::Replace(text, " ", "");
}

}  // namespace

bool IsStringField(const CFieldInfo& field) {
  const std::string type = vb::UCase(field.StrFieldType);
  return type == "S" || type == "M";
}

std::string ReplaceDefaults(const std::string& rule, const CFieldInfo& field) {
  const std::string compact = WithoutBlanks(rule);
  if (!vb::ContainsText(compact, "default()")) return rule;
  return vb::ReplaceText(compact, "default()", field.StrDefaultValue);
}

std::string ReplaceFirstEmpty(const std::string& rule,
                              const CFieldInfo& field) {
  const std::string compact = WithoutBlanks(rule);
  if (!vb::ContainsText(compact, "empty()")) return rule;
  return vb::ReplaceFirstText(compact, "empty()", field.StrInitialValue);
}

}  // namespace mx
