#include "dictionary/field_store.h"

#include <algorithm>

#include "platform/vb_convert.h"
#include "platform/vb_text.h"

namespace mx::dd {

namespace {

bool IsOneOf(const std::string& s, std::initializer_list<const char*> set) {
  for (const char* candidate : set) {
    if (s == candidate) return true;
  }
  return false;
}

std::string BlankStringOfLength(int32_t length) {
  return "String.Set$(\" \"," + vb::NumberToText(int64_t{length}) + ")";
}

CFieldInfo MakeRecord(const FieldDetails& field, const std::string& name,
                      const std::string& neutral, const std::string& initial,
                      int32_t length) {
  CFieldInfo info;
  info.StrTableName = field.table;
  info.StrFieldName = name;
  info.StrDomainName = field.domain;
  info.StrInitialValue = neutral;
  info.StrDefaultValue = vb::IsBlank(initial) ? neutral : initial;
  info.IntDepth = field.depth;
  info.StrFieldCase = field.case_conversion;
  info.StrFieldAlign = field.alignment;
  info.IntFieldLength = length;
  info.StrFieldType = field.type;
  info.StrMandField = field.mandatory;
  return info;
}

}  // namespace

std::string NeutralValue(const std::string& type, int32_t length) {
  if (IsOneOf(type, {"D", "F"})) return "0.0";
  if (IsOneOf(type, {"S", "M"})) return BlankStringOfLength(length);
  if (type == "T") return "utc(0,0,2)";
  if (type == "K") return "utc(0,0)";
  return "0";
}

std::string AdjustedInitialValue(const std::string& type,
                                 const std::string& initial_value,
                                 const std::string& neutral) {
  const bool blank = vb::IsBlank(initial_value);
  if (IsOneOf(type, {"D", "F"})) {
    if (blank) return "0.0";
    if (vb::IsNumeric(initial_value) && !vb::Contains(initial_value, ".")) {
      return initial_value + ".0";
    }
    return initial_value;
  }
  if (IsOneOf(type, {"S", "M"})) {
    if (blank) return neutral;
    if (!vb::Contains(initial_value, "\"")) return "\"" + initial_value + "\"";
    return initial_value;
  }
  if (IsOneOf(type, {"T", "K"})) {
    return (blank || initial_value == "0") ? neutral : initial_value;
  }
  return blank ? "0" : initial_value;
}

void AddFieldRecords(BuildContext& ctx, const FieldDetails& field,
                     ValueRules rules) {
  const int32_t length = vb::LongOfVal(field.length);
  const bool legacy = rules == ValueRules::kLegacy;
  const std::string neutral = legacy ? legacy::NeutralValue(field.type, length)
                                     : NeutralValue(field.type, length);
  const std::string initial =
      legacy ? legacy::AdjustedInitialValue(field.type, field.initial_value,
                                            neutral)
             : AdjustedInitialValue(field.type, field.initial_value, neutral);
  if (field.depth < 1) {
    ctx.doc.field_store.Add(
        field.table + field.field_name,
        MakeRecord(field, field.field_name, neutral, initial, length));
    return;
  }
  for (int k = 1; k <= field.depth; ++k) {
    std::string name = field.field_name + "(" + std::to_string(k) + ")";
    ctx.doc.field_store.Add(field.table + name,
                            MakeRecord(field, name, neutral, initial, length));
  }
}

void Store_Field_Details_in_Dictionary(BuildContext& ctx,
                                       const FieldDetails& field) {
  try {
    AddFieldRecords(ctx, field);
  } catch (const VbError& e) {
    ctx.ReportOperationError(e);
  }
}

}  // namespace mx::dd

namespace mx::legacy {

namespace {

// A string longer than this starts as this many blanks.
constexpr int32_t kLongestBlankString = 5000;

bool IsNumberType(const std::string& type) {
  return type == "B" || type == "E" || type == "I" || type == "L" ||
         type == "D" || type == "F";
}

bool IsStringType(const std::string& type) {
  return type == "S" || type == "M";
}

}  // namespace

std::string NeutralValue(const std::string& type, int32_t length) {
  if (!IsStringType(vb::UCase(type))) return "0";
  return "space(" +
         vb::NumberToText(int64_t{std::min(length, kLongestBlankString)}) + ")";
}

std::string AdjustedInitialValue(const std::string& type,
                                 const std::string& initial_value,
                                 const std::string& neutral) {
  const std::string code = vb::UCase(type);
  const bool empty = initial_value.empty();
  if (IsNumberType(code)) {
    return empty ? "0" : vb::NumberToText(vb::Val(initial_value));
  }
  if (IsStringType(code)) {
    if (empty) return neutral;
    if (vb::Contains(initial_value, "\"")) return initial_value;
    return "\"" + initial_value + "\"";
  }
  if (code == "T" || code == "K") return "\"" + initial_value + "\"";
  if (code == "U") return "0";
  return empty ? "0" : initial_value;
}

void Store_Field_Details_in_Dictionary(BuildContext& ctx,
                                       const dd::FieldDetails& field) {
  try {
    dd::AddFieldRecords(ctx, field, dd::ValueRules::kLegacy);
  } catch (const VbError& e) {
    ctx.ReportError("\t\tERROR in Store_Field_Details_in_Dictionary:- " +
                    vb::ErrNo(e.number()) + " - " + e.description() +
                    vb::kCrLf + "Hint : for field " + field.table +
                    field.field_name);
  }
}

}  // namespace mx::legacy
