// Builds the documents of a run's coming target tables while the run goes
// through them in order: on threads of their own, each over a reader of the
// run's repository state (ConnectionSource::OpenReader), and on the run's
// thread whenever the run would otherwise wait for one.
//
// Work done ahead is done as the run would do it at the table's turn, with
// a reporter and an Env of its own that keep the log text, the errors and
// the writes: the mapping lookup and, when the class's parts say the run
// would build a document, the document. At the turn the run takes the
// work: its folders and file are written then, its log text and errors
// passed on, so the log, the files and the order they appear in are those
// of a run that builds each document in turn. Work that cannot be taken so
// (a lookup or build that raised, a write the deferring Env refused or that
// fails at the turn, an object other than the one the run decided on) is
// left to the run to do again at the turn, where it fails as it would have.
#ifndef MX_RUN_DOCUMENTS_AHEAD_H_
#define MX_RUN_DOCUMENTS_AHEAD_H_

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "context/document_state.h"
#include "context/query_source.h"
#include "context/reporter.h"
#include "context/settings.h"
#include "movx20xmlgen/text_stream.h"
#include "platform/deferred_writes_env.h"
#include "platform/env.h"
#include "repository/connection.h"
#include "run/run_records.h"

namespace mx {

// What a class does with one table, as its run does it; each part may be
// called on any thread, with that thread's queries.
struct AheadParts {
  // The table's mapping record (VersionLookup::Find).
  std::function<std::optional<Mapping>(QuerySource&, const TargetTable&)> find;
  // The object whose document the run builds for this mapping, or nullopt
  // when it does something else (a skip, an M-script). Only saves work:
  // the run decides at the turn.
  std::function<std::optional<ConversionObject>(const TargetTable&,
                                                const Mapping&)>
      object_to_build;
  // Builds and writes the document (Create_XML); false when it failed.
  std::function<bool(BuildContext&, Env&, const ConversionObject&)> build;
};

// The work done for one table ahead of its turn.
class AheadWork {
 public:
  explicit AheadWork(GeneratorKind kind);

  // The lookup's outcome; nullopt when the lookup did not run to its end.
  const std::optional<std::optional<Mapping>>& mapping() const {
    return mapping_;
  }
  // At the turn: when the document of `object` was built, writes its
  // folders and file through `env`, passes its log text and errors on to
  // `reporter`, and gives its state and whether it was written. False, with
  // nothing passed on, when the run is to build it itself.
  bool TakeDocument(const ConversionObject& object, Env& env,
                    Reporter& reporter, DocumentState* doc, bool* written);

 private:
  friend class DocumentsAhead;
  void Do(const AheadParts& parts, const GeneratorSettings& settings,
          QuerySource& queries, const TargetTable& table);

  // Whether a query of the work met a repository's failure to answer.
  std::optional<std::optional<Mapping>> mapping_;
  std::optional<ConversionObject> object_;
  bool built_ = false;  // the build ran to its end
  bool written_ = false;
  std::shared_ptr<StringTextStream> log_;
  Reporter reporter_;
  DocumentState doc_;
  DeferredWritesEnv writes_;
};

class DocumentsAhead {
 public:
  // How many tables past the run's turn may be worked on.
  static constexpr size_t kWindow = 32;

  // Works on the tables from `first` on: one thread for each reader, and
  // the run's own queries for the work done on the run's thread.
  // Everything given must outlive this object.
  DocumentsAhead(const std::vector<TargetTable>& tables, size_t first,
                 const AheadParts& parts, const GeneratorSettings& settings,
                 GeneratorKind kind, QuerySource& run_queries,
                 std::vector<std::unique_ptr<repository::Connection>> readers);
  // Stops the threads (each finishes the table in hand) and closes their
  // readers, on the run's thread.
  ~DocumentsAhead();
  DocumentsAhead(const DocumentsAhead&) = delete;
  DocumentsAhead& operator=(const DocumentsAhead&) = delete;

  // The turn of table `index` (from `first` on, in increasing order): its
  // work, done by a thread or, when no thread has it in hand, here.
  std::unique_ptr<AheadWork> Turn(size_t index);

 private:
  enum class State { kOpen, kInHand, kDone };
  struct Slot {
    State state = State::kOpen;
    std::unique_ptr<AheadWork> work;
  };

  // The lowest open table inside the window, now in hand; nullopt for none.
  std::optional<size_t> Claim();  // mutex_ held
  // Claims a table and does its work with `queries`, the lock released
  // meanwhile; false when no table is open.
  bool WorkOnNextOpen(std::unique_lock<std::mutex>& lock, QuerySource& queries);
  void ThreadLoop(QuerySource& queries);

  const std::vector<TargetTable>& tables_;
  const AheadParts parts_;
  const GeneratorSettings& settings_;
  const GeneratorKind kind_;
  QuerySource& run_queries_;
  std::vector<std::unique_ptr<repository::Connection>> readers_;
  std::vector<std::unique_ptr<QuerySource>> reader_queries_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  size_t turn_ = 0;  // the table whose turn it is
  size_t next_ = 0;  // every table below it is in hand or done
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace mx

#endif  // MX_RUN_DOCUMENTS_AHEAD_H_
