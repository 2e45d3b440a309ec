// The field store: one CFieldInfo per field of the document's target table
// (one per element of an array field), with the neutral value of its type and
// its initial value adjusted to the type. The dump builder reads it.
#ifndef MX_DICTIONARY_FIELD_STORE_H_
#define MX_DICTIONARY_FIELD_STORE_H_

#include <cstdint>
#include <string>

#include "context/build_context.h"

namespace mx::dd {

struct FieldDetails {
  int16_t depth = 0;
  std::string field_name;
  std::string domain;
  std::string initial_value;
  std::string type;
  std::string length;  // as read; counts as the number it starts with
  std::string alignment;
  std::string case_conversion;
  std::string table;
  std::string mandatory;
};

// Neutral value of a type and the initial value adjusted to it.
std::string NeutralValue(const std::string& type, int32_t length);
std::string AdjustedInitialValue(const std::string& type,
                                 const std::string& initial_value,
                                 const std::string& neutral);

// Adds the field's records; a key already present is reported (the records
// stored before it stay) and the caller goes on.
void Store_Field_Details_in_Dictionary(BuildContext& ctx,
                                       const FieldDetails& field);

}  // namespace mx::dd

#endif  // MX_DICTIONARY_FIELD_STORE_H_
