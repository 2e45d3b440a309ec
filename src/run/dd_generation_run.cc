#include "run/dd_generation_run.h"

#include <optional>
#include <set>
#include <vector>

#include "context/build_context.h"
#include "context/document_state.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "run/run_log.h"
#include "run/selection.h"
#include "xml/create_xml.h"
#include "xml/mscript_xml.h"

namespace mx::dd {

using repository::Recordset;
using repository::SqlValue;

namespace {

struct Profile {
  int16_t number = 0;
  std::string sapp, tapp;
  VersionTriple version;
  VersionTriple from;
  int16_t depth = 0;
  bool checked_out = false;
};

struct TargetTable {
  std::string cpac, cmod, flno;
  std::string Code() const { return cpac + cmod + flno; }
};

// The mapping record of a conversion object and where it was found.
struct Mapping {
  int16_t profile = 0;
  VersionTriple working;
  std::string stat, prtx, comt, stbl;
  bool isms = false;
};

VersionTriple ReadTriple(const Recordset& rs, const char* v, const char* r,
                         const char* c) {
  return {vb::Fit(rs.Fields(v).ToText(), 4), vb::Fit(rs.Fields(r).ToText(), 2),
          vb::Fit(rs.Fields(c).ToText(), 4)};
}

Profile ReadProfileRow(const Recordset& rs) {
  Profile p;
  p.number = rs.Fields("mprf").ToInt16();
  p.sapp = rs.Fields("sapp").ToText();
  p.tapp = rs.Fields("tapp").ToText();
  p.version = ReadTriple(rs, "vers", "rele", "cust");
  p.from = ReadTriple(rs, "verf", "relf", "cusf");
  p.depth = rs.Fields("deph").ToInt16();
  p.checked_out = rs.Fields("scme").ToTextOrEmpty() == "Y";
  return p;
}

class DictionaryRun {
 public:
  explicit DictionaryRun(GeneratorContext& ctx)
      : ctx_(ctx), log_(ctx.reporter) {}

  bool Run();

 private:
  Profile ReadProfile();
  VersionTriple ReadCheckedOutTriple(int16_t profile);
  std::vector<TargetTable> SelectTargetTables(const Profile& profile);
  std::optional<Mapping> FindMapping(const Profile& profile,
                                     const TargetTable& table);
  std::optional<Mapping> QueryMapping(int16_t profile,
                                      const VersionTriple& working,
                                      const TargetTable& table);
  void ProcessTable(const Profile& profile, const TargetTable& table);
  void ApplyStatusRules(const Profile& profile, const TargetTable& table,
                        const Mapping& mapping);
  bool BuildDocument(const Profile& profile, const TargetTable& table,
                     const Mapping& mapping);

  GeneratorContext& ctx_;
  Reporter& log_;
  RunCounts& counts_ = ctx_.counts;
  VersionTriple run_checked_out_ = VersionTriple::Blank();
  // The settings' filter, with ",'C'" when checked-out versions count.
  std::string status_filter_;
};

Profile DictionaryRun::ReadProfile() {
  const int32_t number = ctx_.settings.migration_profile;
  Recordset rs = ctx_.Query(" select qxmap100.* from qxmap100 where mprf = " +
                            vb::NumberToText(int64_t{number}));
  if (rs.Eof()) {
    throw VbError(111, "XML Generation",
                  "Migration Profile No. " + vb::NumberToText(int64_t{number}) +
                      " not available.");
  }
  Profile p = ReadProfileRow(rs);
  p.number = static_cast<int16_t>(number);
  return p;
}

VersionTriple DictionaryRun::ReadCheckedOutTriple(int16_t profile) {
  Recordset rs =
      ctx_.Query("select dver, drel, dcus  from qxmap105 where mprf = " +
                 vb::NumberToText(int64_t{profile}));
  if (rs.Eof()) return VersionTriple::Blank();
  return ReadTriple(rs, "dver", "drel", "dcus");
}

std::vector<TargetTable> DictionaryRun::SelectTargetTables(
    const Profile& profile) {
  const GeneratorSettings& s = ctx_.settings;
  Recordset rs = ctx_.Query(
      SelectionQuery("qxddi140", vb::Trim(profile.tapp), s,
                     QuotedSelectedList(s.list_of_mapping_objects_selected)));
  if (rs.Eof()) throw EmptySelectionError(s);
  std::vector<TargetTable> tables;
  for (; !rs.Eof(); rs.MoveNext()) {
    tables.push_back({vb::Fit(rs.Fields("cpac").ToText(), 2),
                      vb::Fit(rs.Fields("cmod").ToText(), 3),
                      vb::Fit(rs.Fields("flno").ToText(), 3)});
  }
  return tables;
}

std::optional<Mapping> DictionaryRun::QueryMapping(int16_t profile,
                                                   const VersionTriple& w,
                                                   const TargetTable& table) {
  Recordset rs = ctx_.Query(
      "select qxmap120.*  from qxmap120   where qxmap120.mprf = " +
      vb::NumberToText(int64_t{profile}) + "  and qxmap120.vers ='" +
      SqlValue(w.vers) + "' and qxmap120.rele ='" + SqlValue(w.rele) +
      "' and qxmap120.cust ='" + SqlValue(w.cust) + "' and qxmap120.tcpac='" +
      SqlValue(table.cpac) + "' and qxmap120.tcmod ='" + SqlValue(table.cmod) +
      "' and qxmap120.tflno='" + SqlValue(table.flno) + "' and stat in (" +
      status_filter_ + " )");
  if (rs.Eof()) return std::nullopt;
  Mapping m;
  m.profile = profile;
  m.working = w;
  m.stat = rs.Fields("stat").ToTextOrEmpty();
  m.prtx = vb::Trim(rs.Fields("prtx").ToTextOrEmpty());
  m.comt = rs.Fields("comt").ToTextOrEmpty();
  m.stbl = rs.Fields("stbl").ToTextOrEmpty();
  m.isms = rs.Fields("isms").ToBoolOrFalse();
  return m;
}

// Searches the profile's working version, falls back from the checked-out
// version to the profile's own once per level, and with traversal climbs to
// the profile that the current one derives from. A chain that comes back to a
// profile already searched, or a level with no profile to climb to, ends the
// search.
std::optional<Mapping> DictionaryRun::FindMapping(const Profile& run_profile,
                                                  const TargetTable& table) {
  const GeneratorSettings& s = ctx_.settings;
  int16_t profile = run_profile.number;
  int16_t depth_limit = run_profile.depth;
  VersionTriple current = run_profile.version;
  VersionTriple from = run_profile.from;
  VersionTriple checked_out = run_checked_out_;
  bool checked_out_flag = run_profile.checked_out;
  auto working_triple = [&] {
    return vb::IsBlank(checked_out.vers) ? current : checked_out;
  };
  VersionTriple working = working_triple();
  std::set<int16_t> searched = {profile};
  bool fell_back = false;

  for (int32_t depth = 1; depth <= depth_limit;) {
    if (auto found = QueryMapping(profile, working, table)) return found;
    if (!fell_back && working == checked_out) {
      working = current;
      fell_back = true;
      continue;
    }
    ++depth;
    // Without a profile to climb to, the next levels would repeat the
    // queries that just found nothing.
    if (!s.traverse_generation) return std::nullopt;
    Recordset parent =
        ctx_.Query(" select qxmap100.* from qxmap100  where qxmap100.vers ='" +
                   SqlValue(vb::Trim(from.vers)) + "' and qxmap100.rele = '" +
                   SqlValue(vb::Trim(from.rele)) + "' and qxmap100.cust = '" +
                   SqlValue(vb::Trim(from.cust)) + "'");
    if (parent.Eof()) return std::nullopt;
    Profile p = ReadProfileRow(parent);
    if (!searched.insert(p.number).second) return std::nullopt;
    current = p.version;
    from = p.from;
    depth_limit = p.depth;
    profile = p.number;
    checked_out_flag = p.checked_out;
    depth = 1;
    fell_back = false;
    checked_out = (s.consider_checked_out_versions && checked_out_flag)
                      ? ReadCheckedOutTriple(profile)
                      : VersionTriple::Blank();
    working = working_triple();
  }
  return std::nullopt;
}

void DictionaryRun::ApplyStatusRules(const Profile& profile,
                                     const TargetTable& table,
                                     const Mapping& m) {
  const std::string code = table.Code();
  if (m.stat == "X") {
    log_.LogLine(ExpiredLine(code, m.profile, m.working));
    ++counts_.errors;
  } else if (m.stat == "E" && ctx_.settings.xml_generation_option == 4) {
    log_.LogLine(StatusErrorLine(code, m.profile, m.working));
    ++counts_.errors;
  } else if (m.stat == "D") {
    log_.LogLine(CommentOnlyLine(code, m.profile, m.working));
    ++counts_.no_mapping;
  } else if (m.stat == "M" && m.prtx.empty() && m.comt.empty()) {
    log_.LogLine(NoRulesLine(code, m.profile, m.working));
    ++counts_.no_mapping;
  } else if (m.isms && vb::Contains(ctx_.list_of_xml_generated, code)) {
    log_.LogLine(MScriptSkipLine(ctx_.Now(), code));
    log_.LogBlankLine();
    ++counts_.mscript;
  } else if (BuildDocument(profile, table, m)) {
    log_.LogLine(CompletedLine(ctx_.Now(), code));
    log_.LogBlankLine();
    ++counts_.success;
  } else {
    ++counts_.errors;
  }
}

// Builds the object's document, or its M-script's, over a document state of
// its own. What was written joins ListOfXMLGenerated: the members of an
// M-script (so the run skips them), then the code itself.
bool DictionaryRun::BuildDocument(const Profile& profile,
                                  const TargetTable& table, const Mapping& m) {
  ConversionObject object{m.profile,      m.working.vers, m.working.rele,
                          m.working.cust, table.cpac,     table.cmod,
                          profile.sapp,   profile.tapp,   table.flno,
                          m.prtx,         m.stbl};
  DocumentState doc;
  BuildContext build(ctx_.settings, doc, ctx_, ctx_.reporter);
  bool written = false;
  if (m.isms) {
    std::optional<std::string> members =
        Create_MScript_XML(build, *ctx_.env, object);
    if (members) ctx_.list_of_xml_generated += *members + ",";
    written = members.has_value();
  } else {
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
  std::optional<Mapping> mapping = FindMapping(profile, table);
  if (!mapping) {
    log_.LogLine(NoMappingWarning(table.Code()) + vb::kCrLf);
    log_.LogBlankLine();
    ++counts_.no_mapping;
    return;
  }
  ++ctx_.no_of_xml_generated;
  ApplyStatusRules(profile, table, *mapping);
}

bool DictionaryRun::Run() {
  ctx_.no_of_xml_generated = 0;
  counts_ = RunCounts();
  status_filter_ = ctx_.settings.status_filter;
  try {
    Profile profile = ReadProfile();
    if (ctx_.settings.consider_checked_out_versions) {
      if (profile.checked_out) {
        run_checked_out_ = ReadCheckedOutTriple(profile.number);
      }
      status_filter_ += ",'C'";
    }
    const std::vector<TargetTable> tables = SelectTargetTables(profile);
    const auto total = static_cast<int32_t>(tables.size());
    for (const TargetTable& table : tables) {
      ProcessTable(profile, table);
      if (ctx_.progress) ctx_.progress(counts_.total, total);
      if (ctx_.stop_requested && ctx_.stop_requested()) {
        throw errors::Interrupted(counts_.total, total);
      }
    }
    WriteSummary(log_, counts_, /*with_mscript_line=*/true);
    return true;
  } catch (const VbError& e) {
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
  return DictionaryRun(ctx).Run();
}

}  // namespace mx::dd
