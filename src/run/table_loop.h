// The loop both runs make over their selected target tables: the run's copy
// of the repository told how many queries are coming, each table in order,
// its start and end told to the run's recorder, the progress callback told
// after each, and the run stopped (error 18, naming how far it got) when the
// caller asks for it in between.
#ifndef MX_RUN_TABLE_LOOP_H_
#define MX_RUN_TABLE_LOOP_H_

#include <cstdint>
#include <vector>

#include "context/generator_context.h"
#include "movx20xmlgen/error.h"
#include "run/run_records.h"

namespace mx {

// About the fewest queries a target table of either class sends when its
// document is built; only decides how early a copy is taken.
inline constexpr int64_t kLeastQueriesPerTable = 8;

template <typename Process>
void ForEachTargetTable(GeneratorContext& ctx,
                        const std::vector<TargetTable>& tables,
                        Process&& process) {
  const auto total = static_cast<int32_t>(tables.size());
  ctx.connections.ExpectQueries(int64_t{total} * kLeastQueriesPerTable);
  int32_t done = 0;
  for (const TargetTable& table : tables) {
    ctx.reporter.ForgetLastError();
    ctx.recorder.StartTable(table.Code());
    process(table);
    ctx.recorder.EndTable();
    ++done;
    if (ctx.progress) ctx.progress(done, total);
    if (ctx.stop_requested && ctx.stop_requested()) {
      throw errors::Interrupted(done, total);
    }
  }
}

}  // namespace mx

#endif  // MX_RUN_TABLE_LOOP_H_
