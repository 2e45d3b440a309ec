// What a generator object holds: its settings, its reporter (log stream and
// ErrorDescription), the results of its last run, the repository
// connection, the file system and the clock. The runs and the public classes
// work on it; document builders get a BuildContext instead, which shows them
// only what they may use.
#ifndef MX_CONTEXT_GENERATOR_CONTEXT_H_
#define MX_CONTEXT_GENERATOR_CONTEXT_H_

#include <cstdint>
#include <functional>
#include <string>

#include "context/build_context.h"
#include "context/connection_source.h"
#include "context/document_state.h"
#include "context/legacy_run_facts.h"
#include "context/query_source.h"
#include "context/reporter.h"
#include "context/run_counts.h"
#include "context/run_results.h"
#include "context/settings.h"
#include "platform/clock.h"
#include "platform/env.h"
#include "repository/recordset.h"

namespace mx {

class GeneratorContext : public QuerySource {
 public:
  explicit GeneratorContext(GeneratorKind kind);

  GeneratorKind kind() const { return reporter.kind(); }

  GeneratorSettings settings;
  Reporter reporter;
  // Results of a run: the documents written (in the legacy class an
  // internal list, which skips M-script members) and, in the
  // data-dictionary class, the number of mappings found.
  std::string list_of_xml_generated;
  int32_t no_of_xml_generated = 0;
  RunCounts counts;  // of the last run
  // What the last run did with each target table, and how it ended.
  RunRecorder recorder;
  // What the last legacy run learnt of its profile (the target-source flag
  // that public rule rewriting reads too).
  LegacyRunFacts legacy_facts;
  Env* env;
  Clock* clock;
  ConnectionSource connections;
  // Threads that build the documents of a run's coming tables besides the
  // run's own, where the repository offers readers of the run's state
  // (ConnectionSource::OpenReader); 0 builds each document at its turn
  // only. One less than the processors, at most 3, by default.
  int ahead_threads;
  // Told after each target table of a run: tables done, tables selected.
  std::function<void(int32_t, int32_t)> progress;
  // Asked after each target table of a run: true stops the run there.
  std::function<bool()> stop_requested;
  // The document state that public operations called outside a run read
  // (the declared variables of rule rewriting): the state of the last
  // document a run built, empty before any.
  DocumentState last_document;

  // Opens a recordset on the connection string of the settings.
  repository::Recordset Query(const std::string& sql) override;

  std::string Now() { return clock->Now(); }
};

// The queries of a builder on another thread, sent to a reader of the
// run's repository state (ConnectionSource::OpenReader) and checked as the
// object's own queries are.
class ConnectionQueries : public QuerySource {
 public:
  explicit ConnectionQueries(repository::Connection& connection)
      : connection_(connection) {}
  repository::Recordset Query(const std::string& sql) override;

 private:
  repository::Connection& connection_;
};

}  // namespace mx

#endif  // MX_CONTEXT_GENERATOR_CONTEXT_H_
