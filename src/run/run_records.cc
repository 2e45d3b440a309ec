#include "run/run_records.h"

#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::Recordset;
using repository::SqlValue;

namespace {

// The columns in the order the runs read them; `number` reads mprf and deph
// at the class's width.
template <typename Number>
Profile ReadProfileColumns(const Recordset& rs,
                           Number (Variant::*number)() const) {
  Profile p;
  p.number = (rs.Fields("mprf").*number)();
  p.sapp = rs.Fields("sapp").ToText();
  p.tapp = rs.Fields("tapp").ToText();
  p.version = ReadTriple(rs, "vers", "rele", "cust");
  p.from = ReadTriple(rs, "verf", "relf", "cusf");
  p.depth = (rs.Fields("deph").*number)();
  p.checked_out = rs.Fields("scme").ToTextOrEmpty() == "Y";
  return p;
}

}  // namespace

VersionTriple ReadTriple(const Recordset& rs, const char* v, const char* r,
                         const char* c) {
  return {vb::Fit(rs.Fields(v).ToText(), 4), vb::Fit(rs.Fields(r).ToText(), 2),
          vb::Fit(rs.Fields(c).ToText(), 4)};
}

Profile ReadProfileRow16(const Recordset& rs) {
  return ReadProfileColumns(rs, &Variant::ToInt16);
}

Profile ReadProfileRow32(const Recordset& rs) {
  return ReadProfileColumns(rs, &Variant::ToInt32);
}

std::string ProfileQuery(int32_t number) {
  return " select qxmap100.* from qxmap100 where mprf = " +
         vb::NumberToText(int64_t{number});
}

VbError MissingProfileError(int32_t number) {
  return VbError(111, "XML Generation",
                 "Migration Profile No. " + vb::NumberToText(int64_t{number}) +
                     " not available.");
}

std::string CheckedOutQuery(int32_t profile) {
  return "select dver, drel, dcus  from qxmap105 where mprf = " +
         vb::NumberToText(int64_t{profile});
}

VersionTriple ReadCheckedOutTriple(QuerySource& source, int32_t profile) {
  repository::Recordset rs = source.Query(CheckedOutQuery(profile));
  if (rs.Eof()) return VersionTriple::Blank();
  return ReadTriple(rs, "dver", "drel", "dcus");
}

std::string ParentProfileQuery(const VersionTriple& from) {
  return " select qxmap100.* from qxmap100  where qxmap100.vers ='" +
         SqlValue(vb::Trim(from.vers)) + "' and qxmap100.rele = '" +
         SqlValue(vb::Trim(from.rele)) + "' and qxmap100.cust = '" +
         SqlValue(vb::Trim(from.cust)) + "'";
}

std::string MappingQuery(int32_t profile, const VersionTriple& w,
                         const TargetTable& table,
                         const std::string& status_filter) {
  return "select qxmap120.*  from qxmap120   where qxmap120.mprf = " +
         vb::NumberToText(int64_t{profile}) + "  and qxmap120.vers ='" +
         SqlValue(w.vers) + "' and qxmap120.rele ='" + SqlValue(w.rele) +
         "' and qxmap120.cust ='" + SqlValue(w.cust) +
         "' and qxmap120.tcpac='" + SqlValue(table.cpac) +
         "' and qxmap120.tcmod ='" + SqlValue(table.cmod) +
         "' and qxmap120.tflno='" + SqlValue(table.flno) + "' and stat in (" +
         status_filter + " )";
}

Mapping ReadMapping(const Recordset& rs, int32_t profile,
                    const VersionTriple& working) {
  Mapping m;
  m.profile = profile;
  m.working = working;
  m.stat = rs.Fields("stat").ToTextOrEmpty();
  m.prtx = vb::Trim(rs.Fields("prtx").ToTextOrEmpty());
  m.comt = rs.Fields("comt").ToTextOrEmpty();
  const Variant& stbl = rs.Fields("stbl");
  if (!stbl.IsNull()) m.stbl = stbl.ToText();
  m.isms = rs.Fields("isms").ToBoolOrFalse();
  return m;
}

}  // namespace mx
