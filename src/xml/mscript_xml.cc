#include "xml/mscript_xml.h"

#include <optional>
#include <vector>

#include "dictionary/field_tag.h"
#include "dictionary/index_tag.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "xml/create_xml.h"
#include "xml/document_writer.h"
#include "xml/dump_tag.h"
#include "xml/main_query.h"
#include "xml/mscript_members.h"
#include "xml/variable_tag.h"

namespace mx::dd {

using repository::SqlValue;

bool Construct_MScript_info_Tag(BuildContext& ctx,
                                const ConversionObject& parent,
                                const std::string& members, std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    std::string info = std::string(" <INFO>") + vb::kCrLf;
    std::string part;
    for (const std::string& member : vb::Split(members, ",")) {
      const std::string upper = vb::UCase(member);
      const std::string package = vb::Mid(member, 1, 2);
      const std::string module = vb::Mid(member, 3, 3);
      const std::string table = vb::Mid(member, 6, 3);
      info += "<" + upper + ">" + vb::kCrLf;
      if (!Construct_Field_Tag(ctx, parent.tapp, package, module, table,
                               &part)) {
        return false;
      }
      info += part;
      if (!Construct_Index_Tag(ctx, parent.tapp, package, module, table,
                               &part)) {
        return false;
      }
      info += part + "</" + upper + ">" + vb::kCrLf;
    }
    if (!Construct_Variable_Tag(ctx, parent, members, &part)) return false;
    info += part;
    if (!Construct_Source_Field_Tag(ctx, parent.sapp, parent.stbl, &part)) {
      return false;
    }
    info += part;
    if (!Construct_Source_Index_Tag(ctx, parent.sapp, parent.stbl, &part)) {
      return false;
    }
    info += part;
    info += "<SOURCETABLES>" + parent.stbl + "</SOURCETABLES>" + " </INFO>" +
            vb::kCrLf;
    *text = std::move(info);
    return true;
  });
}

std::optional<std::string> Create_MScript_XML(BuildContext& ctx, Env& env,
                                              const ConversionObject& child) {
  std::string members;
  const bool written = ReportingFailures(ctx.reporter(), [&] {
    const ConversionObject parent = FindParent(ctx, child, kFixedTableNumber);
    members = MemberList(ctx, parent);
    if (members.empty()) throw NoMembersError(parent);

    DocumentPlan plan = DocumentFrame(parent, "M", members);
    plan.sections = {
        {"INFO", nullptr,
         [&](std::string* t) {
           return Construct_MScript_info_Tag(ctx, parent, members, t);
         }},
        {"PRE-CONDITIONS", nullptr,
         [&](std::string* t) {
           return Construct_PreConditions_Tag(ctx, child.sapp, child.tapp,
                                              child.prtx, t);
         }},
        {"MAINQUERY", "SourceTables",
         [&](std::string* t) {
           return Construct_MainQuery_Tag(ctx, parent, t);
         }},
        {"FUNCTION", nullptr,
         [&](std::string* t) {
           return Construct_Function_Tag(ctx, parent, t);
         }},
        {"DUMPS", "All_Dumps",
         [&](std::string* t) {
           return Construct_MScript_Dump_Tag(ctx, child, members, t);
         }},
    };
    return WriteDocument(plan, ctx.settings.xml_path, env);
  });
  if (!written) return std::nullopt;
  return members;
}

}  // namespace mx::dd
