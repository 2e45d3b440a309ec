// The selection of target tables of a run: by an explicit list of table codes
// or by a package, module and table-number range, from the table list of the
// target application (qxddi140, or qxlgy140 for legacy targets).
#ifndef MX_RUN_SELECTION_H_
#define MX_RUN_SELECTION_H_

#include <optional>
#include <string>
#include <vector>

#include "context/conversion_object.h"
#include "context/settings.h"
#include "movx20xmlgen/error.h"
#include "repository/recordset.h"
#include "run/run_records.h"

namespace mx {

// The list in its quoted form ('a','b'), each item's quotes doubled; nullopt
// when the list is blank.
std::optional<std::string> QuotedSelectedList(const std::string& list);

// The selection query over `table_list` ("qxddi140" or "qxlgy140"): by the
// quoted list when there is one, else by the six range bounds.
std::string SelectionQuery(const std::string& table_list,
                           const std::string& application,
                           const GeneratorSettings& settings,
                           const std::optional<std::string>& quoted_list);

// The target tables a selection query returned: package and module fitted
// to 2 and 3 characters, the table number as the class holds it.
std::vector<TargetTable> ReadTargetTables(repository::Recordset& rs,
                                          TableNumberWidth width);

// Error 123, the range as set in its message.
VbError EmptySelectionError(const GeneratorSettings& settings);

}  // namespace mx

#endif  // MX_RUN_SELECTION_H_
