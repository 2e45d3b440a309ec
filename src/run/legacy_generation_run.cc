#include "run/legacy_generation_run.h"

#include <optional>
#include <string>
#include <vector>

#include "context/build_context.h"
#include "context/document_state.h"
#include "context/legacy_run_facts.h"
#include "legacy/side_files.h"
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
#include "xml/escaping.h"
#include "xml/legacy_create_xml.h"

namespace mx::legacy {

using repository::Recordset;
using repository::SqlValue;

namespace {

// Every run considers these statuses; checked-out versions add 'C'.
constexpr char kStatusFilter[] = "'V','G','M','E','X','D'";

// The legacy class holds application codes at their fixed width.
constexpr size_t kApplicationWidth = 15;

class LegacyRun {
 public:
  explicit LegacyRun(GeneratorContext& ctx)
      : ctx_(ctx), log_(ctx.reporter), bounds_(ctx.settings) {}

  bool Run();

 private:
  std::string ReadProfileList();
  Profile ReadProfile(std::string* lookup_application);
  bool TargetIsLegacySource(const Profile& profile);
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
  // The settings with the table bounds as the run compares them.
  GeneratorSettings bounds_;
  VersionTriple run_checked_out_ = VersionTriple::Blank();
  std::string status_filter_ = kStatusFilter;
  // The documents built ahead of their turn, during the table loop.
  AheadTurns* ahead_ = nullptr;
};

// The profile numbers the function library is searched in: the parents of
// the profile, or the profile itself when it has none.
std::string LegacyRun::ReadProfileList() {
  const std::string number =
      vb::NumberToText(int64_t{ctx_.settings.migration_profile});
  Recordset rs = ctx_.Query("select pprf from qxmap101 where mprf = " + number);
  if (rs.Eof()) return number;
  std::vector<std::string> parents;
  for (; !rs.Eof(); rs.MoveNext())
    parents.push_back(rs.Fields("pprf").ToText());
  return vb::Join(parents, ",");
}

Profile LegacyRun::ReadProfile(std::string* lookup_application) {
  const int32_t number = ctx_.settings.migration_profile;
  Recordset rs = ctx_.Query(ProfileQuery(number));
  if (rs.Eof()) throw MissingProfileError(number);
  Profile p = ReadProfileRow32(rs);
  p.number = number;
  *lookup_application = rs.Fields("apln").ToTextOrEmpty();
  p.sapp = vb::Fit(p.sapp, kApplicationWidth);
  p.tapp = vb::Fit(p.tapp, kApplicationWidth);
  return p;
}

// A target application registered in the data dictionary with extension
// kind 1 is not a legacy source: its table numbers are then compared as the
// data-dictionary class stores them ("000" + the bound, last 3 characters).
bool LegacyRun::TargetIsLegacySource(const Profile& profile) {
  Recordset rs = ctx_.Query("select * from qxddi100 where appl = '" +
                            SqlValue(profile.tapp) + "' and extn = 1");
  if (rs.Eof()) return true;
  bounds_.table_from = vb::Right("000" + vb::LCase(bounds_.table_from), 3);
  bounds_.table_to = vb::Right("000" + vb::LCase(bounds_.table_to), 3);
  return false;
}

std::vector<TargetTable> LegacyRun::SelectTargetTables(const Profile& profile) {
  const char* table_list =
      ctx_.legacy_facts.target_source ? "qxlgy140" : "qxddi140";
  Recordset rs = ctx_.Query(SelectionQuery(
      table_list, vb::Trim(profile.tapp), bounds_,
      QuotedSelectedList(bounds_.list_of_mapping_objects_selected)));
  if (rs.Eof()) throw EmptySelectionError(bounds_);
  return ReadTargetTables(rs, kFullTableNumber);
}

void LegacyRun::ApplyStatusRules(const Profile& profile,
                                 const TargetTable& table, const Mapping& m) {
  const std::string code = table.Code();
  const StatusSkip skip = LegacyStatusSkip(m);
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
  } else if (skip == StatusSkip::kNoSourceTables) {
    const std::string message = "Source tables is Null for the table " + code +
                                " in the profile no. " +
                                vb::NumberToText(int64_t{m.profile});
    log_.LogText("\t\tERROR: " + message + vb::kCrLf + vb::kCrLf);
    recorder_.Outcome(TableStatus::kError, message);
  } else if (m.isms && vb::Contains(ctx_.list_of_xml_generated, code)) {
    log_.LogLine(MScriptSkipLine(ctx_.Now(), code));
    log_.LogBlankLine();
    recorder_.Outcome(TableStatus::kMScriptMember);
  } else if (BuildDocument(profile, table, m)) {
    log_.LogLine(CompletedLine(ctx_.Now(), code));
    log_.LogBlankLine();
    ++counts_.success;
    recorder_.Outcome(TableStatus::kWritten);
  } else {
    recorder_.Failed(log_);
    log_.LogLine("\t" + ctx_.Now() + "\t" +
                 (m.isms ? "Error in XML Generation for Mapping Object"
                         : "Error in XML Generation for Mapping object ") +
                 code);
    log_.LogBlankLine();
    ++counts_.errors;
  }
}

// Builds the object's document, or its M-script's, over a document state of
// its own. An M-script's members, and then the code itself, join the run's
// generated list, so the run skips the other members.
bool LegacyRun::BuildDocument(const Profile& profile, const TargetTable& table,
                              const Mapping& m) {
  const ConversionObject object = LegacyObjectOf(profile, table, m);
  DocumentState doc;
  BuildContext build(ctx_.settings, doc, ctx_, ctx_.reporter);
  bool written = false;
  if (m.isms) {
    std::optional<std::string> members =
        Create_MScript_XML(build, *ctx_.env, ctx_.legacy_facts, object);
    if (members) ctx_.list_of_xml_generated += *members + ",";
    written = members.has_value();
    if (written) ctx_.list_of_xml_generated += table.Code() + ",";
  } else if (!ahead_->TakeDocument(object, *ctx_.env, ctx_.reporter, &doc,
                                   &written)) {
    written = Create_XML(build, *ctx_.env, ctx_.legacy_facts, object);
  }
  ctx_.last_document = std::move(doc);
  return written;
}

void LegacyRun::ProcessTable(const Profile& profile, const TargetTable& table) {
  ++counts_.total;
  log_.LogLine(StartedLine(counts_.total, ctx_.Now(), "Mapping", table.Code()));
  std::optional<Mapping> mapping = ahead_->Find(table);
  if (!mapping) {
    log_.LogLine(NoMappingWarning(table.Code()));
    log_.LogBlankLine();
    ++counts_.no_mapping;
    recorder_.Outcome(TableStatus::kNoMapping);
    return;
  }
  recorder_.MappingFound(mapping->stat, mapping->profile);
  ApplyStatusRules(profile, table, *mapping);
}

// What a thread does ahead with a table besides the mapping lookup: the
// document, when the status rules would build one that is no M-script.
AheadParts LegacyRun::PartsAhead(const Profile& profile) {
  AheadParts parts;
  parts.object_to_build =
      [&profile](const TargetTable& table,
                 const Mapping& m) -> std::optional<ConversionObject> {
    if (m.isms || LegacyStatusSkip(m) != StatusSkip::kNone) {
      return std::nullopt;
    }
    return LegacyObjectOf(profile, table, m);
  };
  parts.build = [this](BuildContext& build, Env& env,
                       const ConversionObject& object) {
    return Create_XML(build, env, ctx_.legacy_facts, object);
  };
  return parts;
}

bool LegacyRun::Run() {
  counts_ = RunCounts();
  try {
    ctx_.legacy_facts.profile_list = ReadProfileList();
    std::string lookup_application;
    const Profile profile = ReadProfile(&lookup_application);
    ctx_.legacy_facts.target_source = TargetIsLegacySource(profile);
    if (ctx_.settings.consider_checked_out_versions) {
      if (profile.checked_out) {
        run_checked_out_ = ReadCheckedOutTriple(ctx_, profile.number);
      }
      status_filter_ += ",'C'";
    }
    const std::vector<TargetTable> tables = SelectTargetTables(profile);
    VersionLookup lookup(ctx_, ctx_.settings, ClimbRules::Legacy(), profile,
                         run_checked_out_, status_filter_);
    {
      // The threads read the profile and the run's facts: they stop before
      // these go, and before the side files, however the loop ends.
      AheadTurns ahead(ctx_, tables, lookup, PartsAhead(profile));
      ahead_ = &ahead;
      ForEachTargetTable(ctx_, tables, [&](const TargetTable& table) {
        ProcessTable(profile, table);
      });
    }
    WriteSummary(log_, counts_, /*with_mscript_line=*/false);

    // The side files send a query per flat file of the profile, thousands
    // at a time: sent as they are they cost a fraction of what a copy of
    // the repository would, so they never make the run take one.
    ctx_.connections.ForgoCopy();
    DocumentState doc;
    BuildContext build(ctx_.settings, doc, ctx_, ctx_.reporter);
    return WriteSideFiles(
        build, *ctx_.env,
        {profile.sapp, lookup_application, ctx_.legacy_facts, profile.number});
  } catch (const VbError& e) {
    recorder_.RunFailed(e);
    log_.ReportOperationError(e);
    return false;
  }
}

}  // namespace

bool GenerateXMLFile(GeneratorContext& ctx) {
  // The whole run reads one snapshot of the repository (without the read
  // cache: see GeneratorContext).
  const ConnectionSource::RunScope read_scope(ctx.connections);
  return RecordedRun(ctx, [&] { return LegacyRun(ctx).Run(); });
}

}  // namespace mx::legacy
