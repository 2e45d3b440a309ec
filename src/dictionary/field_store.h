// The field store: one CFieldInfo per field of the document's target table
// (one per element of an array field), with the neutral value of its type and
// its initial value adjusted to the type. The dump builder reads it. Both
// classes store the same records and word a failure each in their own way.
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

// Which class's table of neutral and initial values a record gets.
enum class ValueRules { kDataDictionary, kLegacy };

// Adds the field's records: one for a plain field, one per element of an
// array field. A key already present raises error 457; the records stored
// before it stay.
void AddFieldRecords(BuildContext& ctx, const FieldDetails& field,
                     ValueRules rules = ValueRules::kDataDictionary);

// AddFieldRecords, its errors reported (the caller goes on).
void Store_Field_Details_in_Dictionary(BuildContext& ctx,
                                       const FieldDetails& field);

}  // namespace mx::dd

namespace mx::legacy {

// The legacy class's values, its type code compared upper-cased: "0" for
// every type but a string's space(n) (n capped at 5000); an initial value
// of a number type becomes the number it starts with, a string's is quoted
// unless it holds a quote, a date's (T, K) is always quoted, a "U" field
// starts at "0".
std::string NeutralValue(const std::string& type, int32_t length);
std::string AdjustedInitialValue(const std::string& type,
                                 const std::string& initial_value,
                                 const std::string& neutral);

// The legacy class's store: records with the legacy values, without a
// mandatory flag (the legacy builders leave it empty), and an error reported
// in the legacy class's words with a "Hint : for field " line naming the
// table and field.
void Store_Field_Details_in_Dictionary(BuildContext& ctx,
                                       const dd::FieldDetails& field);

}  // namespace mx::legacy

#endif  // MX_DICTIONARY_FIELD_STORE_H_
