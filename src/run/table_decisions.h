// What each generator class decides for a target table once its mapping is
// found, side by side: which status rule skips the table, and the
// conversion object whose document it builds otherwise. The runs apply
// these at each table's turn; builders working ahead read them to know
// which documents are worth building early.
#ifndef MX_RUN_TABLE_DECISIONS_H_
#define MX_RUN_TABLE_DECISIONS_H_

#include "context/conversion_object.h"
#include "context/settings.h"
#include "run/run_records.h"

namespace mx {

// The skips of the status rules, tested in this order and before the
// M-script test.
enum class StatusSkip {
  kNone,
  kExpired,         // X
  kErrorStatus,     // E
  kCommentOnly,     // D
  kNoRules,         // M with neither pre-condition nor comment
  kNoSourceTables,  // legacy only: a null source-table list
};

// The data-dictionary class skips status E only under generation option 4,
// and reads a null source-table list as empty.
StatusSkip DictionaryStatusSkip(const Mapping& m,
                                const GeneratorSettings& settings);
ConversionObject DictionaryObjectOf(const Profile& profile,
                                    const TargetTable& table, const Mapping& m);

// The legacy class skips status E always, and a table whose source-table
// list is null. Its object carries the pre-condition escaped and the
// source tables with blanks around their commas.
StatusSkip LegacyStatusSkip(const Mapping& m);
ConversionObject LegacyObjectOf(const Profile& profile,
                                const TargetTable& table, const Mapping& m);

}  // namespace mx

#endif  // MX_RUN_TABLE_DECISIONS_H_
