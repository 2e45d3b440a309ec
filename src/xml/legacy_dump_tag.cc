// Two phases, as in the data-dictionary class: the rules are read into the
// dump store (rewritten, translated, escaped and trimmed on the way), then
// one DUMP element per dump number lists every field of the field store. The
// value text stands between the field's tags as it is, escaped once.
#include "xml/legacy_dump_tag.h"

#include <cstdint>
#include <utility>

#include "movx20xmlgen/error.h"
#include "movx20xmlgen/records.h"
#include "platform/vb_text.h"
#include "rules/legacy_rule_rewriting.h"
#include "xml/dump_store.h"
#include "xml/escaping.h"
#include "xml/legacy_dump_rules.h"
#include "xml/legacy_query.h"

namespace mx::legacy {

namespace {

constexpr int32_t kRuleError = 126;
constexpr char kRuleErrorSource[] = " XML Generation ";
constexpr char kOperationText[] = "ERROR in Construct_Dump_Tag :-";

VbError RuleError(const std::string& rule_as_read) {
  return VbError(kRuleError, kRuleErrorSource,
                 "Error in the rules :" + rule_as_read);
}

// Phase 1, one rule: a rule of type 1 gets the whole rule rewriting, any
// other the target pass; then the section translation. Raises error 126,
// naming the rule as read, when either fails.
void PrepareRule(BuildContext& ctx, const LegacyRunFacts& facts,
                 const ConversionObject& object, CDumpInfo* rule) {
  const std::string as_read = rule->StrMapRule;
  std::string rewritten;
  const bool rewrote =
      rule->IntFieldType == 1
          ? Replace_Empty_Default_Target(ctx, facts.target_source, object.sapp,
                                         object.tapp, as_read, &rewritten)
          : Replace_Target(ctx, facts.target_source, object.sapp, object.tapp,
                           as_read, &rewritten);
  if (!rewrote) throw RuleError(as_read);
  std::string translated;
  if (!Convert_Select_Section(ctx, rewritten, object.sapp, &translated)) {
    throw RuleError(as_read);
  }
  // A code lookup (get.code.x, translated get_code_x) assigns the target
  // variable itself.
  if (vb::ContainsText(translated, "get_code")) rule->IntFieldType = 1;
  rule->StrMapRule = vb::Trim(Escape_XML_Text(translated));
}

DumpStore ReadRules(BuildContext& ctx, const LegacyRunFacts& facts,
                    const ConversionObject& object) {
  DumpStore rules;
  // Every failure raises, so the reading never stops short by itself.
  (void)ReadDumpRules(
      ctx, object,
      [&](CDumpInfo* rule) {
        PrepareRule(ctx, facts, object, rule);
        return true;
      },
      &rules);
  return rules;
}

std::string FieldElement(const std::string& start_tag, const std::string& name,
                         const std::string& value) {
  return start_tag + value + "</" + name + ">" + vb::kCrLf;
}

std::string TypeZeroTag(const std::string& name) {
  return "<" + name + " TYPE = \"0\">";
}

std::string NeutralFieldElement(const CFieldInfo& field) {
  const std::string name = DumpElementName(field.StrFieldName);
  return FieldElement(TypeZeroTag(name), name, NeutralFieldValue(field));
}

// A rule type other than 0 and 1 has no element form. The legacy document is
// not checked before it is written, so the object fails here rather than
// reach the conversion program with a field that has no start tag.
VbError UnknownRuleType(const CDumpInfo& rule) {
  return VbError(kRuleError, kRuleErrorSource,
                 "Error in the rules :rule type " +
                     vb::NumberToText(int64_t{rule.IntFieldType}) +
                     " of the field " + rule.StrFieldName +
                     " is neither 0 nor 1");
}

std::string RuleFieldElement(const ConversionObject& object,
                             const CFieldInfo& field, const CDumpInfo& rule) {
  const std::string name = DumpElementName(rule.StrFieldName);
  if (rule.IntFieldType == 0) {
    return FieldElement(TypeZeroTag(name), name,
                        ValueRuleText(field, rule.StrMapRule));
  }
  if (rule.IntFieldType == 1) {
    const std::string start =
        "<" + name + " TYPE = \"1\" TVAR = \"" +
        TargetVariableExpression(field, object, rule.StrFieldName) + "\"> ";
    return FieldElement(start, name, rule.StrMapRule);
  }
  throw UnknownRuleType(rule);
}

// Phase 2 for dump `dump_no`. Fields of other tables without a rule (an
// M-script's store holds every member's fields) are left out.
std::string DumpElement(BuildContext& ctx, const ConversionObject& object,
                        const DumpStore& rules, int16_t dump_no) {
  const std::string table = object.TableCode();
  const std::string upper_table = vb::UCase(table);
  std::string text = DumpOpeningTag(dump_no, table);
  for (const auto& [key, field] : ctx.doc.field_store) {
    const CDumpInfo* rule =
        rules.Find(dump_no, field.StrTableName, field.StrFieldName);
    if (rule != nullptr) {
      text += RuleFieldElement(object, field, *rule);
    } else if (vb::UCase(field.StrTableName) == upper_table) {
      text += NeutralFieldElement(field);
    }
  }
  return text + DumpClosingTag(dump_no);
}

}  // namespace

bool Construct_Dump_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                        const ConversionObject& object,
                        const std::string& /*stbl*/, std::string* text) {
  text->clear();
  try {
    const DumpStore rules = ReadRules(ctx, facts, object);
    std::string dumps;
    for (int16_t dump_no : rules.dump_list) {
      dumps += DumpElement(ctx, object, rules, dump_no);
    }
    *text = std::move(dumps);
    return true;
  } catch (const VbError& e) {
    ReportDumpError(ctx, kOperationText, e);
    return false;
  }
}

bool Construct_MScript_Dump_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                                const ConversionObject& object,
                                const std::string& members,
                                const std::string& stbl, std::string* text) {
  text->clear();
  try {
    std::string dumps;
    for (const std::string& code : vb::Split(members, ",")) {
      ConversionObject member = object;
      member.cpac = vb::Mid(code, 1, 2);
      member.cmod = vb::Mid(code, 3, 3);
      member.flno = vb::Mid(code, 6);
      std::string member_dumps;
      if (!Construct_Dump_Tag(ctx, facts, member, stbl, &member_dumps)) {
        return false;
      }
      dumps += member_dumps + vb::kCrLf;
    }
    *text = std::move(dumps);
    return true;
  } catch (const VbError& e) {
    // One line, and no line break in ErrorDescription.
    ctx.ReportError(e, "\t\tERROR in Construct_Dump_Tag :" +
                           vb::ErrNo(e.number()) + ":" + e.description());
    return false;
  }
}

}  // namespace mx::legacy
