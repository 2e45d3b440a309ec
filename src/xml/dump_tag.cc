// Two phases: the rules of the target table are read into the dump store
// (rules of type 0 lose their line breaks, rules of type 1 go through the
// rule rewriting) while the dump numbers are collected; then one DUMP element
// per dump number lists every field of the field store, each with its rule
// or its neutral value.
#include "xml/dump_tag.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "movx20xmlgen/error.h"
#include "movx20xmlgen/records.h"
#include "platform/ordered_dict.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "rules/rule_rewriting.h"
#include "xml/dump_rules.h"
#include "xml/escaping.h"

namespace mx::dd {

namespace {

using repository::SqlValue;

constexpr int32_t kNoFieldMappings = 522;

// The rules of one target table, keyed by dump number + table code + field
// name, and the dump numbers in the order they were first met.
struct DumpRules {
  OrderedDict<CDumpInfo> store;
  std::vector<int16_t> dump_list;
};

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

std::string WithoutLineBreaks(const std::string& rule) {
  std::string text = vb::Replace(rule, "\r\n", "");
  text = vb::Replace(text, "\n", "");
  return vb::Replace(text, "\r", "");
}

// Phase 1. False when a rule of type 1 cannot be rewritten (the rewriting
// has reported it); the other failures raise.
bool ReadRules(BuildContext& ctx, const ConversionObject& object,
               DumpRules* rules) {
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
    if (rule.IntFieldType == 0) {
      rule.StrMapRule = WithoutLineBreaks(rule.StrMapRule);
    } else if (rule.IntFieldType == 1) {
      std::string rewritten;
      if (!Replace_Empty_Default_Target(ctx, object.sapp, object.tapp,
                                        rule.StrMapRule, &rewritten)) {
        return false;
      }
      rule.StrMapRule = std::move(rewritten);
    }
    // The first rule starts the list whatever its number, dump 0 included.
    const bool starts_dump =
        rules->dump_list.empty() || rule.IntDumpNo != previous;
    previous = rule.IntDumpNo;
    const int16_t dump_no = rule.IntDumpNo;
    // The key is taken before the record moves into the store.
    std::string key = DumpKey(dump_no, table, rule.StrFieldName);
    rules->store.Add(std::move(key), std::move(rule));
    if (starts_dump) rules->dump_list.push_back(dump_no);
  }
  rs.Close();
  return true;
}

// QTY for qty, QTY-10 for qty(10).
std::string ElementName(const std::string& field_name) {
  return vb::UCase(vb::Replace(vb::Replace(field_name, "(", "-"), ")", ""));
}

std::string ValueAndEndTag(const std::string& value, const std::string& name) {
  return "<VALUE>" + value + "</VALUE></" + name + ">" + vb::kCrLf;
}

// A field without a rule in the dump: its type's neutral value.
std::string NeutralFieldElement(const CFieldInfo& field) {
  const std::string name = ElementName(field.StrFieldName);
  std::string value = field.StrInitialValue;
  if (vb::UCase(field.StrFieldType) == "K" && field.StrMandField == "Y") {
    value = "MANDUTC(" + value + ")";
  }
  return "<" + name + " TYPE = \"0\">" + ValueAndEndTag(value, name);
}

// A field with a rule in the dump. A rule type other than 0 and 1 has no
// start tag of its own: the dump text is then not well-formed and the
// document's check rejects the object, naming the section and the table.
bool RuleFieldElement(BuildContext& ctx, const RuleApplications& apps,
                      const std::string& table, const CFieldInfo& field,
                      const CDumpInfo& rule, std::string* element) {
  const std::string name = ElementName(rule.StrFieldName);
  std::string start;
  std::string value = rule.StrMapRule;
  if (rule.IntFieldType == 1) {
    start = "<" + name + " TYPE = \"1\" TVAR = \"" +
            TargetVariableExpression(field, table, rule.StrFieldName) + "\"> ";
  } else if (rule.IntFieldType == 0) {
    start = "<" + name + " TYPE = \"0\">";
    const bool rewritten =
        IsStringField(field)
            ? RewriteStringFieldRule(ctx, field, rule.StrMapRule, apps, &value)
            : RewriteOtherFieldRule(ctx, field, rule.StrMapRule, apps, &value);
    if (!rewritten) return false;
  }
  *element = start + ValueAndEndTag(EscapeThreeEntities(value), name);
  return true;
}

// Phase 2 for dump `dump_no`: every field of the store, in store order.
// Fields of other tables (an M-script's store holds every member's fields)
// are left out.
bool AppendDumpElement(BuildContext& ctx, const ConversionObject& object,
                       const DumpRules& rules, int16_t dump_no,
                       std::string* text) {
  const std::string table = object.TableCode();
  const std::string upper_table = vb::UCase(table);
  const RuleApplications apps{object.sapp, object.tapp};
  const std::string number = NumberText(dump_no);
  *text += "<DUMP-" + number + " TARGET=\"" + table + "\">" + vb::kCrLf;
  for (const auto& [key, field] : ctx.doc.field_store) {
    const CDumpInfo* rule = rules.store.Find(
        DumpKey(dump_no, field.StrTableName, field.StrFieldName));
    if (rule == nullptr) {
      if (vb::UCase(field.StrTableName) == upper_table) {
        *text += NeutralFieldElement(field);
      }
      continue;
    }
    std::string element;
    if (!RuleFieldElement(ctx, apps, table, field, *rule, &element)) {
      return false;
    }
    *text += element;
  }
  *text += "</DUMP-" + number + ">" + vb::kCrLf;
  return true;
}

// This operation words its errors in its own way: ErrorDescription holds
// "ERROR:-" N " - " description; the log line has two TABs before it and
// ends in CR LF.
void ReportDumpError(BuildContext& ctx, const VbError& error) {
  const std::string message =
      "ERROR:-" + vb::ErrNo(error.number()) + " - " + error.description();
  ctx.reporter().ReportError(message, "\t\t" + message + vb::kCrLf);
}

}  // namespace

bool Construct_Dump_Tag(BuildContext& ctx, const ConversionObject& object,
                        bool /*for_mscript*/, std::string* text) {
  text->clear();
  try {
    DumpRules rules;
    if (!ReadRules(ctx, object, &rules)) return false;
    std::string dumps;
    for (int16_t dump_no : rules.dump_list) {
      if (!AppendDumpElement(ctx, object, rules, dump_no, &dumps)) {
        return false;
      }
    }
    *text = std::move(dumps);
    return true;
  } catch (const VbError& e) {
    ReportDumpError(ctx, e);
    return false;
  }
}

bool Construct_MScript_Dump_Tag(BuildContext& ctx,
                                const ConversionObject& object,
                                const std::string& member_list,
                                std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    std::string dumps;
    for (const std::string& code : vb::Split(member_list, ",")) {
      ConversionObject member = object;
      member.cpac = vb::Mid(code, 1, 2);
      member.cmod = vb::Mid(code, 3, 3);
      member.flno = vb::Mid(code, 6, 3);
      std::string member_dumps;
      if (!Construct_Dump_Tag(ctx, member, true, &member_dumps)) return false;
      dumps += member_dumps + vb::kCrLf;
    }
    *text = std::move(dumps);
    return true;
  });
}

}  // namespace mx::dd
