#include "run/documents_ahead.h"

#include <algorithm>
#include <utility>

#include "context/generator_context.h"
#include "movx20xmlgen/error.h"

namespace mx {

AheadWork::AheadWork(GeneratorKind kind)
    : log_(std::make_shared<StringTextStream>()), reporter_(kind) {
  reporter_.set_log(log_);
}

namespace {

// The queries of one piece of work, remembering whether the repository
// failed to answer one (a refusal, a lost connection, text it could not
// convert). The run meets such a failure itself at the turn, on its own
// connection: a reader of the run's copy refuses where the run turns to the
// repository, and a reader may fail where the run's connection would not.
class WatchedQueries : public QuerySource {
 public:
  explicit WatchedQueries(QuerySource& queries) : queries_(queries) {}
  repository::Recordset Query(const std::string& sql) override {
    try {
      return queries_.Query(sql);
    } catch (const VbError& error) {
      if (repository::IsRepositoryFailure(error)) failed_ = true;
      throw;
    }
  }
  bool failed() const { return failed_; }

 private:
  QuerySource& queries_;
  bool failed_ = false;
};

}  // namespace

// Whatever escapes the lookup or the build leaves the work unfinished, and
// so does a repository's failure to answer, even one a builder reported as
// the object's error: the run does the work again at the turn and meets the
// same failure there, in order.
void AheadWork::Do(const AheadParts& parts, const GeneratorSettings& settings,
                   QuerySource& queries, const TargetTable& table) {
  WatchedQueries watched(queries);
  try {
    std::optional<Mapping> mapping = parts.find(watched, table);
    if (watched.failed()) return;
    mapping_.emplace(std::move(mapping));
    if (!*mapping_) return;
    object_ = parts.object_to_build(table, **mapping_);
    if (!object_) return;
    BuildContext build(settings, doc_, watched, reporter_);
    written_ = parts.build(build, writes_, *object_);
    built_ = !writes_.Refused() && !watched.failed();
  } catch (...) {
    built_ = false;
  }
}

bool AheadWork::TakeDocument(const ConversionObject& object, Env& env,
                             Reporter& reporter, DocumentState* doc,
                             bool* written) {
  if (!built_ || !object_ || !(*object_ == object)) return false;
  try {
    writes_.Replay(env);
  } catch (const VbError&) {
    return false;  // the run writes again and reports the failure in turn
  }
  reporter.LogText(log_->text());
  reporter.AdoptReportsOf(reporter_);
  *doc = std::move(doc_);
  *written = written_;
  return true;
}

DocumentsAhead::DocumentsAhead(
    const std::vector<TargetTable>& tables, size_t first,
    const AheadParts& parts, const GeneratorSettings& settings,
    GeneratorKind kind, QuerySource& run_queries,
    std::vector<std::unique_ptr<repository::Connection>> readers)
    : tables_(tables),
      parts_(parts),
      settings_(settings),
      kind_(kind),
      run_queries_(run_queries),
      readers_(std::move(readers)),
      slots_(tables.size()),
      turn_(first),
      next_(first) {
  for (const auto& reader : readers_) {
    reader_queries_.push_back(std::make_unique<ConnectionQueries>(*reader));
  }
  for (const auto& queries : reader_queries_) {
    QuerySource* own = queries.get();
    threads_.emplace_back([this, own] { ThreadLoop(*own); });
  }
}

DocumentsAhead::~DocumentsAhead() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  reader_queries_.clear();
  for (const auto& reader : readers_) reader->EndReadScope();
}

std::optional<size_t> DocumentsAhead::Claim() {
  const size_t index = std::max(next_, turn_);
  if (index >= slots_.size() || index >= turn_ + kWindow) return std::nullopt;
  next_ = index + 1;
  slots_[index].state = State::kInHand;
  return index;
}

bool DocumentsAhead::WorkOnNextOpen(std::unique_lock<std::mutex>& lock,
                                    QuerySource& queries) {
  const std::optional<size_t> index = Claim();
  if (!index) return false;
  lock.unlock();
  auto work = std::make_unique<AheadWork>(kind_);
  work->Do(parts_, settings_, queries, tables_[*index]);
  lock.lock();
  slots_[*index].work = std::move(work);
  slots_[*index].state = State::kDone;
  changed_.notify_all();
  return true;
}

void DocumentsAhead::ThreadLoop(QuerySource& queries) {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    if (!WorkOnNextOpen(lock, queries)) changed_.wait(lock);
  }
}

// While another thread has the table in hand, the run works on the next
// open one rather than wait.
std::unique_ptr<AheadWork> DocumentsAhead::Turn(size_t index) {
  std::unique_lock<std::mutex> lock(mutex_);
  turn_ = index;
  changed_.notify_all();  // the window moved on
  while (slots_[index].state != State::kDone) {
    if (!WorkOnNextOpen(lock, run_queries_)) changed_.wait(lock);
  }
  return std::move(slots_[index].work);
}

}  // namespace mx
