#include "run/ahead_turns.h"

#include <utility>

namespace mx {

namespace {

AheadParts WithLookup(const VersionLookup& lookup, AheadParts parts) {
  parts.find = [&lookup](QuerySource& queries, const TargetTable& table) {
    return lookup.OnQueries(queries).Find(table);
  };
  return parts;
}

}  // namespace

AheadTurns::AheadTurns(GeneratorContext& ctx,
                       const std::vector<TargetTable>& tables,
                       VersionLookup& lookup, AheadParts parts)
    : ctx_(ctx),
      tables_(tables),
      lookup_(lookup),
      parts_(WithLookup(lookup, std::move(parts))) {}

std::optional<Mapping> AheadTurns::Find(const TargetTable& table) {
  const auto index = static_cast<size_t>(&table - tables_.data());
  if (ahead_ == nullptr) ahead_ = StartAt(index);
  turn_ = ahead_ != nullptr ? ahead_->Turn(index) : nullptr;
  if (turn_ != nullptr && turn_->mapping()) return *turn_->mapping();
  return lookup_.Find(table);
}

bool AheadTurns::TakeDocument(const ConversionObject& object, Env& env,
                              Reporter& reporter, DocumentState* doc,
                              bool* written) {
  return turn_ != nullptr &&
         turn_->TakeDocument(object, env, reporter, doc, written);
}

// Nothing to start for the last table, or before the repository offers a
// reader; each reader gets a thread.
std::unique_ptr<DocumentsAhead> AheadTurns::StartAt(size_t first) {
  std::vector<std::unique_ptr<repository::Connection>> readers;
  if (tables_.size() > first + 1) {
    while (static_cast<int>(readers.size()) < ctx_.ahead_threads) {
      std::unique_ptr<repository::Connection> reader =
          ctx_.connections.OpenReader();
      if (reader == nullptr) break;
      readers.push_back(std::move(reader));
    }
  }
  if (readers.empty()) return nullptr;
  return std::make_unique<DocumentsAhead>(tables_, first, parts_, ctx_.settings,
                                          ctx_.kind(), ctx_,
                                          std::move(readers));
}

}  // namespace mx
