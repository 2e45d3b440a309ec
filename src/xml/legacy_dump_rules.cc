#include "xml/legacy_dump_rules.h"

#include <cstdint>

#include "platform/vb_text.h"
#include "xml/dump_field_values.h"

namespace mx::legacy {

namespace {

// Every test of the field's type reads it upper-cased.
std::string UpperType(const CFieldInfo& field) {
  return vb::UCase(field.StrFieldType);
}

std::string Length(const CFieldInfo& field) {
  return vb::NumberToText(int64_t{field.IntFieldLength});
}

std::string Call(const std::string& function, const std::string& argument) {
  return function + "(" + argument + ")";
}

std::string CheckEmpty(const std::string& value) {
  return Call("ObjCnv.CheckEmpty", value);
}

// A value of a date ("to_date") or UTC ("to_utc") field goes through the
// converter. A value that calls the converter itself has the call qualified
// instead; that value is lower-cased as a whole.
std::string WithConverter(const std::string& value,
                          const std::string& converter) {
  const std::string lower = vb::LCase(value);
  if (!vb::Contains(lower, converter))
    return Call("ObjCnv." + converter, value);
  return vb::Replace(lower, converter, "ObjCnv." + converter);
}

// "K" and "T" values are converted; true when the type is one of them.
bool ConvertsTime(const std::string& type, const std::string& value,
                  std::string* converted) {
  if (type == "K") {
    *converted = WithConverter(value, "to_utc");
    return true;
  }
  if (type == "T") {
    *converted = WithConverter(value, "to_date");
    return true;
  }
  return false;
}

std::string WithCase(const std::string& value, const CFieldInfo& field) {
  if (field.StrFieldCase == "U") return Call("Ucase", value);
  if (field.StrFieldCase == "L") return Call("Lcase", value);
  return value;
}

// Aligned to the field's length; without an alignment cut to it.
std::string WithAlignment(const std::string& value, const CFieldInfo& field) {
  const std::string& align = field.StrFieldAlign;
  std::string function;
  if (align == "L") function = "ObjCnv.Left_Align";
  if (align == "R") function = "ObjCnv.Right_Align";
  if (align == "C") function = "ObjCnv.Center_Align";
  if (function.empty()) return "Mid(" + value + ",1," + Length(field) + ")";
  return function + "(" + value + "," + Length(field) + ")";
}

std::string FittedString(const std::string& value, const CFieldInfo& field) {
  return WithAlignment(WithCase(value, field), field);
}

}  // namespace

std::string NeutralFieldValue(const CFieldInfo& field) {
  const std::string type = UpperType(field);
  std::string value = field.StrInitialValue;
  if (ConvertsTime(type, value, &value)) return value;
  if (IsStringField(field)) return CheckEmpty(value);
  return value;
}

std::string ValueRuleText(const CFieldInfo& field, const std::string& rule) {
  std::string r = ReplaceFirstEmpty(ReplaceDefaults(rule, field), field);
  const std::string type = UpperType(field);
  if (ConvertsTime(type, r, &r)) return r;
  if (!IsStringField(field)) return r;
  // A string's neutral value, space(n), has the field's length already.
  if (!vb::ContainsText(r, "space(")) r = FittedString(r, field);
  return CheckEmpty(r);
}

std::string TargetVariableExpression(const CFieldInfo& field,
                                     const ConversionObject& object,
                                     const std::string& field_name) {
  // A legacy table as target (qxtbl) is named by its table name alone.
  const std::string variable =
      object.cpac + object.cmod == "qxtbl"
          ? "var_" + vb::Replace(object.flno, ".", "_") + "_" + field_name
          : "var_" + object.TableCode() + "_" + field_name;
  const std::string type = UpperType(field);
  if (type == "K") return Call("ObjCnv.to_utc", variable);
  if (type == "T") return Call("ObjCnv.to_date", variable);
  if (IsStringField(field)) return CheckEmpty(FittedString(variable, field));
  return variable;
}

}  // namespace mx::legacy
