#include "run/dd_generation_run.h"

#include <memory>
#include <optional>
#include <vector>

#include "context/build_context.h"
#include "context/document_state.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "run/documents_ahead.h"
#include "run/recorded_run.h"
#include "run/run_log.h"
#include "run/run_records.h"
#include "run/selection.h"
#include "run/table_loop.h"
#include "run/version_lookup.h"
#include "xml/create_xml.h"
#include "xml/mscript_xml.h"

namespace mx::dd {

using repository::Recordset;
using repository::SqlValue;

namespace {

class DictionaryRun {
 public:
  explicit DictionaryRun(GeneratorContext& ctx)
      : ctx_(ctx), log_(ctx.reporter) {}

  bool Run();

 private:
  Profile ReadProfile();
  std::vector<TargetTable> SelectTargetTables(const Profile& profile);
  void ProcessTable(const Profile& profile, VersionLookup& lookup,
                    const TargetTable& table);
  void ApplyStatusRules(const Profile& profile, const TargetTable& table,
                        const Mapping& mapping);
  bool BuildDocument(const Profile& profile, const TargetTable& table,
                     const Mapping& mapping);
  std::unique_ptr<DocumentsAhead> StartDocumentsAhead(const Profile& profile,
                                                      size_t first);
  struct AheadStopper {
    DictionaryRun& run;
    ~AheadStopper() {
      run.turn_.reset();
      run.ahead_.reset();
    }
  };

  GeneratorContext& ctx_;
  Reporter& log_;
  RunCounts& counts_ = ctx_.counts;
  RunRecorder& recorder_ = ctx_.recorder;
  VersionTriple run_checked_out_ = VersionTriple::Blank();
  // The settings' filter, with ",'C'" when checked-out versions count.
  std::string status_filter_;
  // The selected tables; the work on the coming ones, once documents are
  // built ahead; the work done for the table in hand.
  const std::vector<TargetTable>* tables_ = nullptr;
  std::unique_ptr<DocumentsAhead> ahead_;
  std::unique_ptr<AheadWork> turn_;
};

// The skips of the status rules, before the M-script test.
enum class StatusSkip { kNone, kExpired, kErrorStatus, kCommentOnly, kNoRules };

StatusSkip StatusSkipOf(const Mapping& m, const GeneratorSettings& settings) {
  if (m.stat == "X") return StatusSkip::kExpired;
  if (m.stat == "E" && settings.xml_generation_option == 4) {
    return StatusSkip::kErrorStatus;
  }
  if (m.stat == "D") return StatusSkip::kCommentOnly;
  if (m.stat == "M" && m.prtx.empty() && m.comt.empty()) {
    return StatusSkip::kNoRules;
  }
  return StatusSkip::kNone;
}

ConversionObject ObjectOf(const Profile& profile, const TargetTable& table,
                          const Mapping& m) {
  return {m.profile,  m.working.vers, m.working.rele,     m.working.cust,
          table.cpac, table.cmod,     profile.sapp,       profile.tapp,
          table.flno, m.prtx,         m.stbl.value_or("")};
}

Profile DictionaryRun::ReadProfile() {
  const int32_t number = ctx_.settings.migration_profile;
  Recordset rs = ctx_.Query(ProfileQuery(number));
  if (rs.Eof()) throw MissingProfileError(number);
  Profile p = ReadProfileRow16(rs);
  p.number = static_cast<int16_t>(number);
  return p;
}

std::vector<TargetTable> DictionaryRun::SelectTargetTables(
    const Profile& profile) {
  const GeneratorSettings& s = ctx_.settings;
  Recordset rs = ctx_.Query(
      SelectionQuery("qxddi140", vb::Trim(profile.tapp), s,
                     QuotedSelectedList(s.list_of_mapping_objects_selected)));
  if (rs.Eof()) throw EmptySelectionError(s);
  return ReadTargetTables(rs, kFixedTableNumber);
}

void DictionaryRun::ApplyStatusRules(const Profile& profile,
                                     const TargetTable& table,
                                     const Mapping& m) {
  const std::string code = table.Code();
  const StatusSkip skip = StatusSkipOf(m, ctx_.settings);
  if (skip == StatusSkip::kExpired) {
    log_.LogLine(ExpiredLine(code, m.profile, m.working));
    ++counts_.errors;
    recorder_.Outcome(TableStatus::kSkippedStatus, kExpiredReason);
  } else if (skip == StatusSkip::kErrorStatus) {
    log_.LogLine(StatusErrorLine(code, m.profile, m.working));
    ++counts_.errors;
    recorder_.Outcome(TableStatus::kSkippedStatus, kErrorStatusReason);
  } else if (skip == StatusSkip::kCommentOnly) {
    log_.LogLine(CommentOnlyLine(code, m.profile, m.working));
    ++counts_.no_mapping;
    recorder_.Outcome(TableStatus::kSkippedStatus, kCommentOnlyReason);
  } else if (skip == StatusSkip::kNoRules) {
    log_.LogLine(NoRulesLine(code, m.profile, m.working));
    ++counts_.no_mapping;
    recorder_.Outcome(TableStatus::kSkippedStatus, kNoRulesReason);
  } else if (m.isms && vb::Contains(ctx_.list_of_xml_generated, code)) {
    log_.LogLine(MScriptSkipLine(ctx_.Now(), code));
    log_.LogBlankLine();
    ++counts_.mscript;
    recorder_.Outcome(TableStatus::kMScriptMember);
  } else if (BuildDocument(profile, table, m)) {
    log_.LogLine(CompletedLine(ctx_.Now(), code));
    log_.LogBlankLine();
    ++counts_.success;
    recorder_.Outcome(TableStatus::kWritten);
  } else {
    ++counts_.errors;
    recorder_.Failed(log_);
  }
}

// Builds the object's document, or its M-script's, over a document state of
// its own. What was written joins ListOfXMLGenerated: the members of an
// M-script (so the run skips them), then the code itself.
bool DictionaryRun::BuildDocument(const Profile& profile,
                                  const TargetTable& table, const Mapping& m) {
  const ConversionObject object = ObjectOf(profile, table, m);
  DocumentState doc;
  BuildContext build(ctx_.settings, doc, ctx_, ctx_.reporter);
  bool written = false;
  if (m.isms) {
    std::optional<std::string> members =
        Create_MScript_XML(build, *ctx_.env, object);
    if (members) ctx_.list_of_xml_generated += *members + ",";
    written = members.has_value();
  } else if (!turn_ || !turn_->TakeDocument(object, *ctx_.env, ctx_.reporter,
                                            &doc, &written)) {
    written = Create_XML(build, *ctx_.env, object);
  }
  if (written) ctx_.list_of_xml_generated += table.Code() + ",";
  ctx_.last_document = std::move(doc);
  return written;
}

void DictionaryRun::ProcessTable(const Profile& profile, VersionLookup& lookup,
                                 const TargetTable& table) {
  ++counts_.total;
  log_.LogLine(
      StartedLine(counts_.total, ctx_.Now(), "Conversion", table.Code()));
  const auto index = static_cast<size_t>(&table - tables_->data());
  if (ahead_ == nullptr) ahead_ = StartDocumentsAhead(profile, index);
  if (ahead_ != nullptr) turn_ = ahead_->Turn(index);
  std::optional<Mapping> mapping =
      turn_ && turn_->mapping() ? *turn_->mapping() : lookup.Find(table);
  if (!mapping) {
    log_.LogLine(NoMappingWarning(table.Code()) + vb::kCrLf);
    log_.LogBlankLine();
    ++counts_.no_mapping;
    recorder_.Outcome(TableStatus::kNoMapping);
    return;
  }
  recorder_.MappingFound(mapping->stat, mapping->profile);
  ++ctx_.no_of_xml_generated;
  ApplyStatusRules(profile, table, *mapping);
}

// The documents of the tables from `first` on are built ahead once the
// repository offers readers of the run's state (a server's, once the run's
// copy of it answers); each reader's thread finds mappings and builds
// documents as ProcessTable would.
std::unique_ptr<DocumentsAhead> DictionaryRun::StartDocumentsAhead(
    const Profile& profile, size_t first) {
  std::vector<std::unique_ptr<repository::Connection>> readers;
  if (tables_->size() > first + 1) {
    while (static_cast<int>(readers.size()) < ctx_.ahead_threads) {
      std::unique_ptr<repository::Connection> reader =
          ctx_.connections.OpenReader();
      if (reader == nullptr) break;
      readers.push_back(std::move(reader));
    }
  }
  if (readers.empty()) return nullptr;
  AheadParts parts;
  parts.find = [this, &profile](QuerySource& queries,
                                const TargetTable& table) {
    return VersionLookup(queries, ctx_.settings, ClimbRules::DataDictionary(),
                         profile, run_checked_out_, status_filter_)
        .Find(table);
  };
  parts.object_to_build =
      [this, &profile](const TargetTable& table,
                       const Mapping& m) -> std::optional<ConversionObject> {
    if (m.isms || StatusSkipOf(m, ctx_.settings) != StatusSkip::kNone) {
      return std::nullopt;
    }
    return ObjectOf(profile, table, m);
  };
  parts.build = [](BuildContext& build, Env& env,
                   const ConversionObject& object) {
    return Create_XML(build, env, object);
  };
  return std::make_unique<DocumentsAhead>(*tables_, first, parts, ctx_.settings,
                                          ctx_.kind(), ctx_,
                                          std::move(readers));
}

bool DictionaryRun::Run() {
  ctx_.no_of_xml_generated = 0;
  counts_ = RunCounts();
  status_filter_ = ctx_.settings.status_filter;
  try {
    Profile profile = ReadProfile();
    if (ctx_.settings.consider_checked_out_versions) {
      if (profile.checked_out) {
        run_checked_out_ = ReadCheckedOutTriple(ctx_, profile.number);
      }
      status_filter_ += ",'C'";
    }
    const std::vector<TargetTable> tables = SelectTargetTables(profile);
    VersionLookup lookup(ctx_, ctx_.settings, ClimbRules::DataDictionary(),
                         profile, run_checked_out_, status_filter_);
    tables_ = &tables;
    // The threads read the profile and the settings: they stop before
    // these go, however the loop ends.
    const AheadStopper stop_ahead(*this);
    ForEachTargetTable(ctx_, tables, [&](const TargetTable& table) {
      ProcessTable(profile, lookup, table);
    });
    WriteSummary(log_, counts_, /*with_mscript_line=*/true);
    return true;
  } catch (const VbError& e) {
    recorder_.RunFailed(e);
    log_.set_error_description(vb::NumberToText(int64_t{e.number()}) + "-" +
                               e.description());
    log_.LogLine(log_.error_description());
    return false;
  }
}

}  // namespace

bool GenerateXMLFile(GeneratorContext& ctx) {
  // The whole run reads one snapshot of the repository, and repeated queries
  // are answered from the run's read cache.
  const ConnectionSource::RunScope read_scope(ctx.connections);
  return RecordedRun(ctx, [&] { return DictionaryRun(ctx).Run(); });
}

}  // namespace mx::dd
