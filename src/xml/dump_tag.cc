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
#include "rules/rule_rewriting.h"
#include "xml/dump_field_values.h"
#include "xml/dump_rules.h"
#include "xml/dump_store.h"
#include "xml/escaping.h"

namespace mx::dd {

namespace {

std::string WithoutLineBreaks(const std::string& rule) {
  std::string text = vb::Replace(rule, "\r\n", "");
  text = vb::Replace(text, "\n", "");
  return vb::Replace(text, "\r", "");
}

// Phase 1. False when a rule of type 1 cannot be rewritten (the rewriting
// has reported it); the other failures raise.
bool ReadRules(BuildContext& ctx, const ConversionObject& object,
               DumpStore* rules) {
  return ReadDumpRules(
      ctx, object,
      [&](CDumpInfo* rule) {
        if (rule->IntFieldType == 0) {
          rule->StrMapRule = WithoutLineBreaks(rule->StrMapRule);
        } else if (rule->IntFieldType == 1) {
          std::string rewritten;
          if (!Replace_Empty_Default_Target(ctx, object.sapp, object.tapp,
                                            rule->StrMapRule, &rewritten)) {
            return false;
          }
          rule->StrMapRule = std::move(rewritten);
        }
        return true;
      },
      rules);
}

std::string ValueAndEndTag(const std::string& value, const std::string& name) {
  return "<VALUE>" + value + "</VALUE></" + name + ">" + vb::kCrLf;
}

// A field without a rule in the dump: its type's neutral value.
std::string NeutralFieldElement(const CFieldInfo& field) {
  const std::string name = DumpElementName(field.StrFieldName);
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
  const std::string name = DumpElementName(rule.StrFieldName);
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
                       const DumpStore& rules, int16_t dump_no,
                       std::string* text) {
  const std::string table = object.TableCode();
  const std::string upper_table = vb::UCase(table);
  const RuleApplications apps{object.sapp, object.tapp};
  *text += DumpOpeningTag(dump_no, table);
  for (const auto& [key, field] : ctx.doc.field_store) {
    const CDumpInfo* rule =
        rules.Find(dump_no, field.StrTableName, field.StrFieldName);
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
  *text += DumpClosingTag(dump_no);
  return true;
}

}  // namespace

bool Construct_Dump_Tag(BuildContext& ctx, const ConversionObject& object,
                        bool /*for_mscript*/, std::string* text) {
  text->clear();
  try {
    DumpStore rules;
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
    ReportDumpError(ctx, "ERROR:-", e);
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
