#include "xml/create_xml.h"

#include "dictionary/field_tag.h"
#include "dictionary/index_tag.h"
#include "platform/vb_text.h"
#include "platform/xml_check.h"
#include "rules/rule_rewriting.h"
#include "split/split_queries.h"
#include "xml/document_writer.h"
#include "xml/dump_tag.h"
#include "xml/escaping.h"
#include "xml/main_query.h"
#include "xml/variable_tag.h"

namespace mx {

bool Is_Well_Formed(const std::string& text) {
  return CheckWellFormed(text).well_formed;
}

}  // namespace mx

namespace mx::dd {

int CountMigrates(const std::string& escaped_text) {
  std::string words = vb::Replace(escaped_text, "\n", " ");
  words = vb::Replace(words, "\r", " ");
  words = vb::Replace(words, "\t", " ");
  int kept = 0;
  for (const std::string& word : vb::Split(words, " ")) {
    if (vb::ContainsText(word, "migrate")) ++kept;
  }
  return kept - 1;
}

bool Construct_PreConditions_Tag(BuildContext& ctx, const std::string& sapp,
                                 const std::string& tapp,
                                 const std::string& precondition,
                                 std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    std::string rewritten;
    if (!Replace_Empty_Default_Target(ctx, sapp, tapp, precondition,
                                      &rewritten)) {
      return false;
    }
    const std::string escaped = EscapeThreeEntities(rewritten);
    *text = std::string("<PRE-CONDITIONS>") + vb::kCrLf + escaped + vb::kCrLf +
            "</PRE-CONDITIONS>" + vb::kCrLf;
    ctx.doc.migrate_count = CountMigrates(escaped);
    return true;
  });
}

bool Construct_Info_Tag(BuildContext& ctx, const ConversionObject& object,
                        std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    const std::string upper = object.UpperTableCode();
    std::string info =
        std::string(" <INFO>") + vb::kCrLf + " <" + upper + ">" + vb::kCrLf;
    std::string part;
    if (!Construct_Field_Tag(ctx, object.tapp, object.cpac, object.cmod,
                             object.flno, &part)) {
      return false;
    }
    info += part;
    if (!Construct_Index_Tag(ctx, object.tapp, object.cpac, object.cmod,
                             object.flno, &part)) {
      return false;
    }
    info += part;
    info += " </" + upper + ">" + vb::kCrLf;
    if (!Construct_Variable_Tag(ctx, object, object.TableCode(), &part)) {
      return false;
    }
    info += part;
    if (!Construct_Source_Field_Tag(ctx, object.sapp, object.stbl, &part)) {
      return false;
    }
    info += part;
    if (!Construct_Source_Index_Tag(ctx, object.sapp, object.stbl, &part)) {
      return false;
    }
    info += part;
    info += "<SOURCETABLES>" + object.stbl + "</SOURCETABLES>" + " </INFO>" +
            vb::kCrLf;
    *text = std::move(info);
    return true;
  });
}

DocumentPlan DocumentFrame(const ConversionObject& root, const char* type,
                           const std::string& target_tables) {
  DocumentPlan plan;
  plan.folder = root.cpac + root.cmod;
  plan.file_name = "x" + root.TableCode() + "0.XML";
  plan.table_code = root.TableCode();
  plan.opening = "<" + root.UpperTableCode() + " TYPE =\"" + type +
                 "\" TARGETTABLES = \"" + target_tables + "\">" + vb::kCrLf;
  plan.closing = "</" + root.UpperTableCode() + ">";
  return plan;
}

bool Create_XML(BuildContext& ctx, Env& env, const ConversionObject& input) {
  return ReportingFailures(ctx.reporter(), [&] {
    ConversionObject object = input;
    if (ctx.settings.split_vshells) {
      std::string rewritten;
      if (!dd::AddSplitQueries_to_Precondition(
              ctx, object.sapp, object.prtx, object.TableCode(), &rewritten)) {
        return false;
      }
      object.prtx = rewritten;
    }
    DocumentPlan plan = DocumentFrame(object, "F", object.TableCode());
    plan.sections = {
        {"INFO", nullptr,
         [&](std::string* t) { return Construct_Info_Tag(ctx, object, t); }},
        {"PRE-CONDITIONS", nullptr,
         [&](std::string* t) {
           return Construct_PreConditions_Tag(ctx, object.sapp, object.tapp,
                                              object.prtx, t);
         }},
        {"MAINQUERY", "Source_Tables",
         [&](std::string* t) {
           return Construct_MainQuery_Tag(ctx, object, t);
         }},
        {"FUNCTION", nullptr,
         [&](std::string* t) {
           return Construct_Function_Tag(ctx, object, t);
         }},
        {"DUMPS", "AllDumps",
         [&](std::string* t) {
           return Construct_Dump_Tag(ctx, object, false, t);
         }},
    };
    return WriteDocument(plan, ctx.settings.xml_path, env);
  });
}

}  // namespace mx::dd
