// The selection of target tables of a run: by an explicit list of table codes
// or by a package, module and table-number range, from the table list of the
// target application (qxddi140, or qxlgy140 for legacy targets).
#ifndef MX_RUN_SELECTION_H_
#define MX_RUN_SELECTION_H_

#include <string>

#include "interface/generator_context.h"

namespace mx {

// Rewrites the list in place as its quoted form ('a','b'), each item's quotes
// doubled, and returns true, when the list is not blank; false otherwise.
bool QuoteSelectedList(std::string* list);

// The selection query over `table_list` ("qxddi140" or "qxlgy140"). Uses the
// quoted list when `use_list` is set, else the six range bounds.
std::string SelectionQuery(const std::string& table_list,
                           const std::string& application,
                           const GeneratorSettings& settings, bool use_list);

// Error 123, the range as set in its message.
VbError EmptySelectionError(const GeneratorSettings& settings);

}  // namespace mx

#endif  // MX_RUN_SELECTION_H_
