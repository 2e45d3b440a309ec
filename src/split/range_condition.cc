#include "split/range_condition.h"

#include "dictionary/index_lookups.h"
#include "platform/vb_text.h"

namespace mx {

namespace dd {

namespace {

// {:from.T.f1 , :from.T.f2 ...} with `bound` "from" or "to".
std::string CompoundKey(const std::string& bound, const std::string& table,
                        const std::vector<std::string>& fields) {
  std::string key = "{";
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) key += " , ";
    key += ":" + bound + "." + table + "." + fields[i];
  }
  return key + "}";
}

// The bind variables of the worker shell's range, field by field.
std::vector<RangeVariables> BindVariables(
    const std::string& table, const std::vector<std::string>& fields) {
  std::vector<RangeVariables> variables;
  for (const std::string& field : fields) {
    variables.push_back(
        {":from." + table + "." + field, ":to." + table + "." + field});
  }
  return variables;
}

}  // namespace

std::string Split_Range_Condition(const std::string& table,
                                  const std::vector<std::string>& fields,
                                  const std::string& raw_field_list) {
  if (fields.size() == 1) {
    const std::string field = table + "." + fields[0];
    return "(" + field + " > :from." + field + " and " + field + " <= :to." +
           field + ")";
  }
  if (vb::Split(raw_field_list, ",").size() > 1) {
    return legacy::Legacy_Split_Range_Condition(table, fields,
                                                BindVariables(table, fields));
  }
  // The runtime names an index of a table T._INDEXn; the compound comparison
  // of the index-reference form carries a second blank after "and".
  const bool index = Is_Index_Reference(raw_field_list);
  const std::string key = table + (index ? "._" : ".") + raw_field_list;
  return "(" + key + " > " + CompoundKey("from", table, fields) + vb::kCrLf +
         (index ? " and  " : " and ") + key +
         " <= " + CompoundKey("to", table, fields) + ")";
}

}  // namespace dd

namespace legacy {

std::string Legacy_Split_Range_Condition(
    const std::string& table, const std::vector<std::string>& fields,
    const std::vector<RangeVariables>& variables) {
  const std::string crlf_tab = std::string(vb::kCrLf) + "\t";
  const std::string first = table + "." + fields[0];
  if (fields.size() == 1) {
    return "((" + first + " > " + variables[0].from + ") and " + vb::kCrLf +
           "(" + first + " <= " + variables[0].to + "))";
  }
  std::string from_part = "(" + first + " > " + variables[0].from + ")";
  std::string to_part = "(" + first + " < " + variables[0].to + ")";
  std::string from_equal = first + " = " + variables[0].from;
  std::string to_equal = first + " = " + variables[0].to;
  for (size_t i = 1; i < fields.size(); ++i) {
    const std::string field = table + "." + fields[i];
    from_part += crlf_tab + " or (" + from_equal + " and " + field + " > " +
                 variables[i].from + ")" + vb::kCrLf;
    to_part += crlf_tab + " or (" + to_equal + " and " + field + " < " +
               variables[i].to + ")" + vb::kCrLf;
    from_equal += crlf_tab + " and " + field + " = " + variables[i].from;
    to_equal += crlf_tab + " and " + field + " = " + variables[i].to;
  }
  to_part += crlf_tab + " or (" + to_equal + ")";
  return "((" + from_part + ") " + crlf_tab + " and (" + to_part + "))";
}

}  // namespace legacy
}  // namespace mx
