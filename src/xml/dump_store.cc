#include "xml/dump_store.h"

#include <utility>

#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

namespace {

using repository::SqlValue;

constexpr int32_t kNoFieldMappings = 522;

std::string NumberText(int64_t n) { return vb::NumberToText(n); }

std::string DumpKey(int16_t dump_no, const std::string& table,
                    const std::string& field_name) {
  return NumberText(dump_no) + table + field_name;
}

std::string RulesQuery(const ConversionObject& object) {
  return " select qxmap140.fdnm, qxmap140.mrul, qxmap140.type, "
         "qxmap140.dnum  from qxmap140 WHERE  qxmap140.mprf = " +
         NumberText(object.profile) + " AND  qxmap140.vers = '" +
         SqlValue(object.vers) + "' AND  qxmap140.rele = '" +
         SqlValue(object.rele) + "' AND  qxmap140.cust = '" +
         SqlValue(object.cust) + "' AND  qxmap140.tcpac = '" +
         SqlValue(object.cpac) + "' AND  qxmap140.tcmod = '" +
         SqlValue(object.cmod) + "' AND  qxmap140.tflno = '" +
         SqlValue(object.flno) + "' order by dnum ";
}

}  // namespace

const CDumpInfo* DumpStore::Find(int16_t dump_no, const std::string& table,
                                 const std::string& field_name) const {
  return rules.Find(DumpKey(dump_no, table, field_name));
}

bool ReadDumpRules(BuildContext& ctx, const ConversionObject& object,
                   const PrepareRule& prepare, DumpStore* store) {
  const std::string table = object.TableCode();
  repository::Recordset rs = ctx.Query(RulesQuery(object));
  if (rs.Eof()) {
    throw VbError(
        kNoFieldMappings, "XMLGeneration:Construct_Dump_tag",
        "Field level Mappings are not maintained for the table:" + table);
  }
  int16_t previous = 0;
  for (; !rs.Eof(); rs.MoveNext()) {
    CDumpInfo rule;
    rule.IntDumpNo = rs.Fields("dnum").ToInt16();
    rule.IntFieldType = rs.Fields("type").ToInt16();
    rule.StrFieldName = rs.Fields("fdnm").ToText();
    rule.StrTargetTableName = table;
    rule.StrMapRule = rs.Fields("mrul").ToText();
    if (!prepare(&rule)) return false;
    const bool starts_dump =
        store->dump_list.empty() || rule.IntDumpNo != previous;
    previous = rule.IntDumpNo;
    const int16_t dump_no = rule.IntDumpNo;
    // The key is taken before the record moves into the store.
    std::string key = DumpKey(dump_no, table, rule.StrFieldName);
    store->rules.Add(std::move(key), std::move(rule));
    if (starts_dump) store->dump_list.push_back(dump_no);
  }
  rs.Close();
  return true;
}

std::string DumpElementName(const std::string& field_name) {
  return vb::UCase(vb::Replace(vb::Replace(field_name, "(", "-"), ")", ""));
}

std::string DumpOpeningTag(int16_t dump_no, const std::string& table) {
  return "<DUMP-" + NumberText(dump_no) + " TARGET=\"" + table + "\">" +
         vb::kCrLf;
}

std::string DumpClosingTag(int16_t dump_no) {
  return "</DUMP-" + NumberText(dump_no) + ">" + vb::kCrLf;
}

void ReportDumpError(BuildContext& ctx, std::string_view operation_text,
                     const VbError& error) {
  const std::string message = std::string(operation_text) +
                              vb::ErrNo(error.number()) + " - " +
                              error.description();
  ctx.reporter().ReportError(error, message, "\t\t" + message + vb::kCrLf);
}

}  // namespace mx
