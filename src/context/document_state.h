// The state that the builders of one document share, held in one place and
// passed explicitly: the field store, the migrate count, the split-condition
// store, the split declarations, the declared-variables text and, in the
// legacy class, the functions collected from include lines. The run makes a
// fresh one for every document.
#ifndef MX_CONTEXT_DOCUMENT_STATE_H_
#define MX_CONTEXT_DOCUMENT_STATE_H_

#include <string>

#include "movx20xmlgen/records.h"
#include "platform/ordered_dict.h"

namespace mx {

struct DocumentState {
  // Field records of the document's target tables, key table code + field
  // name (array elements as name(k)), in the order the dumps list them.
  OrderedDict<CFieldInfo> field_store;
  // Set by the PRE-CONDITIONS builder, read by the main-query builder.
  int migrate_count = 0;
  // The per-object dictionary of split conditions.
  OrderedDict<std::string> split_conditions;
  // Split declarations written into the variables section.
  std::string split_declarations;
  // The declarations of the VAR element, read by rule rewriting.
  std::string declared_variables;
  // Legacy class: the declarations as the query translation reads them
  // (lower case, "dim" and CR LF replaced by blanks).
  std::string declared_variables_for_translation;
  // Legacy class: the function text that include lines pulled from the
  // function library, written into the FUNCTION element.
  std::string collected_functions;
};

}  // namespace mx

#endif  // MX_CONTEXT_DOCUMENT_STATE_H_
