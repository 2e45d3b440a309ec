#include "run/dd_generation_run.h"

#include <memory>
#include <optional>
#include <vector>

#include "context/build_context.h"
#include "context/document_state.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "run/ahead_turns.h"
#include "run/recorded_run.h"
#include "run/run_log.h"
#include "run/run_records.h"
#include "run/selection.h"
#include "run/table_decisions.h"
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
  void ProcessTable(const Profile& profile, const TargetTable& table);
  void ApplyStatusRules(const Profile& profile, const TargetTable& table,
                        const Mapping& mapping);
  bool BuildDocument(const Profile& profile, const TargetTable& table,
                     const Mapping& mapping);
  AheadParts PartsAhead(const Profile& profile);

  GeneratorContext& ctx_;
  Reporter& log_;
  RunCounts& counts_ = ctx_.counts;
  RunRecorder& recorder_ = ctx_.recorder;
  VersionTriple run_checked_out_ = VersionTriple::Blank();
  // The settings' filter, with ",'C'" when checked-out versions count.
  std::string status_filter_;
  // The documents built ahead of their turn, during the table loop.
  AheadTurns* ahead_ = nullptr;
};

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
  const StatusSkip skip = DictionaryStatusSkip(m, ctx_.settings);
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
  const ConversionObject object = DictionaryObjectOf(profile, table, m);
  DocumentState doc;
  BuildContext build(ctx_.settings, doc, ctx_, ctx_.reporter);
  bool written = false;
  if (m.isms) {
    std::optional<std::string> members =
        Create_MScript_XML(build, *ctx_.env, object);
    if (members) ctx_.list_of_xml_generated += *members + ",";
    written = members.has_value();
  } else if (!ahead_->TakeDocument(object, *ctx_.env, ctx_.reporter, &doc,
                                   &written)) {
    written = Create_XML(build, *ctx_.env, object);
  }
  if (written) ctx_.list_of_xml_generated += table.Code() + ",";
  ctx_.last_document = std::move(doc);
  return written;
}

void DictionaryRun::ProcessTable(const Profile& profile,
                                 const TargetTable& table) {
  ++counts_.total;
  log_.LogLine(
      StartedLine(counts_.total, ctx_.Now(), "Conversion", table.Code()));
  std::optional<Mapping> mapping = ahead_->Find(table);
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

// What a thread does ahead with a table besides the mapping lookup: the
// document, when the status rules would build one that is no M-script.
AheadParts DictionaryRun::PartsAhead(const Profile& profile) {
  AheadParts parts;
  parts.object_to_build =
      [this, &profile](const TargetTable& table,
                       const Mapping& m) -> std::optional<ConversionObject> {
    if (m.isms || DictionaryStatusSkip(m, ctx_.settings) != StatusSkip::kNone) {
      return std::nullopt;
    }
    return DictionaryObjectOf(profile, table, m);
  };
  parts.build = [](BuildContext& build, Env& env,
                   const ConversionObject& object) {
    return Create_XML(build, env, object);
  };
  return parts;
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
    // The threads read the profile and the settings: they stop before
    // these go, however the loop ends.
    AheadTurns ahead(ctx_, tables, lookup, PartsAhead(profile));
    ahead_ = &ahead;
    ForEachTargetTable(ctx_, tables, [&](const TargetTable& table) {
      ProcessTable(profile, table);
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
