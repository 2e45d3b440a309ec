// The side of a run's table loop that takes documents built ahead
// (DocumentsAhead): the building starts at the first table where the
// repository offers readers of the run's state (a server's once the run's
// copy of it answers), and at each table's turn the run takes the mapping
// and the document found and built for it, or finds and builds them itself.
// Without readers, or with no threads asked for, every table is done at its
// turn as if this were not there.
#ifndef MX_RUN_AHEAD_TURNS_H_
#define MX_RUN_AHEAD_TURNS_H_

#include <memory>
#include <optional>
#include <vector>

#include "context/conversion_object.h"
#include "context/document_state.h"
#include "context/generator_context.h"
#include "context/reporter.h"
#include "platform/env.h"
#include "run/documents_ahead.h"
#include "run/run_records.h"
#include "run/version_lookup.h"

namespace mx {

class AheadTurns {
 public:
  // `lookup` finds a table's mapping, here and (over a reader's queries) on
  // the threads; `parts` say what else the run's class does with a table
  // (their `find` is this lookup's). The context, the tables, the lookup
  // and whatever the parts read must outlive this object, whose destruction
  // stops the threads.
  AheadTurns(GeneratorContext& ctx, const std::vector<TargetTable>& tables,
             VersionLookup& lookup, AheadParts parts);
  AheadTurns(const AheadTurns&) = delete;
  AheadTurns& operator=(const AheadTurns&) = delete;

  // At the turn of `table` (an element of the tables, taken in order): its
  // mapping, found ahead or now.
  std::optional<Mapping> Find(const TargetTable& table);
  // The document of `object`, for the table whose turn it is: when it was
  // built ahead, writes it through `env`, passes its log text and errors on
  // to `reporter` and gives its state and whether it was written. False,
  // with nothing done, when the run is to build it itself.
  bool TakeDocument(const ConversionObject& object, Env& env,
                    Reporter& reporter, DocumentState* doc, bool* written);

 private:
  std::unique_ptr<DocumentsAhead> StartAt(size_t first);

  GeneratorContext& ctx_;
  const std::vector<TargetTable>& tables_;
  VersionLookup& lookup_;
  const AheadParts parts_;
  std::unique_ptr<DocumentsAhead> ahead_;
  std::unique_ptr<AheadWork> turn_;  // the work done for the table in turn
};

}  // namespace mx

#endif  // MX_RUN_AHEAD_TURNS_H_
