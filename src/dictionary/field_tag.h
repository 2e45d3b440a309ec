// The TFLD element of a conversion-object document: one line per field of the
// target table with its domain, combination flag, child fields and domain
// details. Filling it also fills the field store for the dump builder.
#ifndef MX_DICTIONARY_FIELD_TAG_H_
#define MX_DICTIONARY_FIELD_TAG_H_

#include <string>

#include "context/build_context.h"
#include "movx20xmlgen/error.h"

namespace mx {

// The child fields of a combined field as A|B|C. Error 113 when there are
// none; reported in the class's words.
[[nodiscard]] bool Get_Child_Field_List(BuildContext& ctx,
                                        const std::string& application,
                                        const std::string& package,
                                        const std::string& module,
                                        const std::string& table,
                                        const std::string& field,
                                        std::string* child_list);

// Error 112: the table has no field to describe, in the dictionary or in a
// legacy layout.
VbError NoFieldInformation(const std::string& application,
                           const std::string& package,
                           const std::string& module, const std::string& table);

// One field line of the TFLD element.
struct FieldLine {
  std::string name;
  std::string domain;
  std::string combination;
  std::string child_list;
  std::string type;
  std::string length;
  std::string digits_before;
  std::string digits_after;
};
std::string FormatFieldLine(const FieldLine& line);

}  // namespace mx

namespace mx::dd {

[[nodiscard]] bool Construct_Field_Tag(BuildContext& ctx,
                                       const std::string& application,
                                       const std::string& package,
                                       const std::string& module,
                                       const std::string& table,
                                       std::string* field_text);

}  // namespace mx::dd

#endif  // MX_DICTIONARY_FIELD_TAG_H_
