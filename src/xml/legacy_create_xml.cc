#include "xml/legacy_create_xml.h"

#include <utility>

#include "dictionary/index_tag.h"
#include "dictionary/legacy_field_tag.h"
#include "dictionary/legacy_source_info_tag.h"
#include "platform/vb_text.h"
#include "split/split_queries.h"
#include "xml/document_writer.h"
#include "xml/legacy_dump_tag.h"
#include "xml/legacy_info_tag.h"
#include "xml/legacy_main_query.h"
#include "xml/legacy_preconditions.h"
#include "xml/legacy_variable_tag.h"
#include "xml/mscript_members.h"

namespace mx::legacy {

namespace {

// Errors of the document builders, each in its own words: the conversion
// object's ends in CR LF, the M-script's are one line.
void ReportCreateXmlError(BuildContext& ctx, const VbError& e) {
  ctx.ReportError("\t\tERROR in Create_XML:- " + vb::ErrNo(e.number()) + " - " +
                  e.description() + vb::kCrLf);
}

void ReportMScriptError(BuildContext& ctx, const char* prefix,
                        const VbError& e) {
  ctx.ReportError(std::string("\t\t") + prefix + vb::ErrNo(e.number()) + ":" +
                  e.description());
}

// Folder cpac + cmod, file "x" + table code + "0" without extension, the
// document enciphered.
DocumentPlan LegacyFrame(const ConversionObject& root, const char* type_text,
                         const std::string& target_tables) {
  DocumentPlan plan;
  plan.folder = root.cpac + root.cmod;
  plan.file_name = "x" + root.TableCode() + "0";
  plan.table_code = root.TableCode();
  plan.opening = "<" + root.UpperTableCode() + type_text +
                 " TARGETTABLES = \"" + target_tables + "\">" + vb::kCrLf;
  plan.closing = "</" + root.UpperTableCode() + ">";
  plan.storage = DocumentPlan::Storage::kEnciphered;
  return plan;
}

}  // namespace

bool Create_XML(BuildContext& ctx, Env& env, const LegacyRunFacts& facts,
                const ConversionObject& input) {
  try {
    ConversionObject object = input;
    if (ctx.settings.split_vshells) {
      // Every later section reads the pre-conditions with the range code
      // before each migrate; the range conditions wait in the document
      // state for the main query.
      std::string rewritten;
      if (!AddSplitQueries_to_Precondition(ctx, object.sapp, object.prtx,
                                           object.TableCode(), &rewritten)) {
        return false;
      }
      object.prtx = std::move(rewritten);
    }
    // The INFO section's variables may add tables to the source-table list;
    // every later section reads the list as they leave it.
    std::string stbl = object.stbl;
    DocumentPlan plan =
        LegacyFrame(object, " TYPE = \"M\"", object.TableCode());
    plan.checked = false;
    plan.sections = {
        {"INFO", nullptr,
         [&](std::string* t) {
           return Construct_Info_Tag(ctx, facts, object, &stbl, t);
         }},
        {"PRE-CONDITIONS", nullptr,
         [&](std::string* t) {
           return Construct_PreConditions_Tag(
               ctx, facts, object.prtx, object.sapp, object.tapp, stbl, t);
         }},
        {"MAINQUERY", nullptr,
         [&](std::string* t) {
           return Construct_MainQuery_Tag(ctx, facts, object, stbl, t);
         }},
        {"FUNCTION", nullptr,
         [&](std::string* t) {
           t->clear();
           return Construct_Function_Tag(ctx, facts, object, stbl, t);
         }},
        {"DUMPS", nullptr,
         [&](std::string* t) {
           return Construct_Dump_Tag(ctx, facts, object, stbl, t);
         }},
    };
    return WriteDocument(plan, ctx.settings.xml_path, env);
  } catch (const VbError& e) {
    ReportCreateXmlError(ctx, e);
    return false;
  }
}

bool Construct_MScript_info_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                                const ConversionObject& parent,
                                const std::string& members, std::string* stbl,
                                std::string* text) {
  text->clear();
  try {
    std::string info = std::string(" <INFO>") + vb::kCrLf;
    std::string part;
    for (const std::string& member : vb::Split(members, ",")) {
      const std::string upper = vb::UCase(member);
      const std::string package = vb::Mid(member, 1, 2);
      const std::string module = vb::Mid(member, 3, 3);
      const std::string table = MemberTableNumber(member, kFullTableNumber);
      info += "<" + upper + ">" + vb::kCrLf;
      if (!Construct_Field_Tag(ctx, facts, parent.tapp, package, module, table,
                               &part)) {
        return false;
      }
      info += part;
      if (!dd::Construct_Index_Tag(ctx, parent.tapp, package, module, table,
                                   &part)) {
        return false;
      }
      info += part + "</" + upper + ">" + vb::kCrLf;
    }
    if (!Construct_Variable_Tag(ctx, facts, parent, stbl, &part)) return false;
    info += part;
    if (!Construct_Source_Info_Tag(ctx, parent.sapp, *stbl, &part)) {
      return false;
    }
    info += part;
    info +=
        "<SOURCETABLES>" + *stbl + "</SOURCETABLES>" + " </INFO>" + vb::kCrLf;
    *text = std::move(info);
    return true;
  } catch (const VbError& e) {
    ReportMScriptError(ctx, "ERROR in Construct_MScript_info_Tag :", e);
    return false;
  }
}

std::optional<std::string> Create_MScript_XML(BuildContext& ctx, Env& env,
                                              const LegacyRunFacts& facts,
                                              const ConversionObject& child) {
  try {
    const ConversionObject parent = FindParent(ctx, child, kFullTableNumber);
    const std::string members = MemberList(ctx, parent);
    if (members.empty()) throw NoMembersError(parent);
    std::string stbl = child.stbl;

    DocumentPlan plan = LegacyFrame(parent, " TYPE =\"M\"", members);
    plan.sections = {
        {"INFO", nullptr,
         [&](std::string* t) {
           return Construct_MScript_info_Tag(ctx, facts, parent, members, &stbl,
                                             t);
         }},
        {"PRE-CONDITIONS", nullptr,
         [&](std::string* t) {
           return Construct_PreConditions_Tag(ctx, facts, child.prtx,
                                              child.sapp, child.tapp, stbl, t);
         }},
        {"MAINQUERY", "SourceTables",
         [&](std::string* t) {
           return Construct_MainQuery_Tag(ctx, facts, parent, stbl, t);
         }},
        {"FUNCTION", nullptr,
         [&](std::string* t) {
           t->clear();
           return Construct_Function_Tag(ctx, facts, parent, stbl, t);
         }},
        {"DUMPS", "All_Dumps",
         [&](std::string* t) {
           return Construct_MScript_Dump_Tag(ctx, facts, child, members, stbl,
                                             t);
         }},
    };
    if (!WriteDocument(plan, ctx.settings.xml_path, env)) return std::nullopt;
    return members;
  } catch (const VbError& e) {
    ReportMScriptError(ctx, "ERROR in Create_MScript_Xml:", e);
    return std::nullopt;
  }
}

}  // namespace mx::legacy
