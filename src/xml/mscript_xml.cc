#include "xml/mscript_xml.h"

#include <optional>
#include <vector>

#include "dictionary/field_tag.h"
#include "dictionary/index_tag.h"
#include "dictionary/variable_tag.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "run/main_query.h"
#include "xml/create_xml.h"
#include "xml/document_sections.h"
#include "xml/dump_tag.h"
#include "xml/output_path.h"

namespace mx::dd {

using repository::SqlValue;

namespace {

std::string VersionConditions(const ConversionObject& o) {
  return " where mprf = " + vb::NumberToText(int64_t{o.profile}) +
         " and vers = '" + SqlValue(o.vers) + "'" + " and rele = '" +
         SqlValue(o.rele) + "'" + " and cust = '" + SqlValue(o.cust) + "'";
}

// The parent of the child: the same conversion-object inputs with the
// parent's package, module and table number. Error 991 when there is none.
ConversionObject FindParent(GeneratorContext& ctx,
                            const ConversionObject& child) {
  auto rs = ctx.Query("Select bpac,bmod,bflno from qxmap170 " +
                      VersionConditions(child) + " and cpac = '" +
                      SqlValue(child.cpac) + "'" + " and cmod = '" +
                      SqlValue(child.cmod) + "'" + " and cflno = '" +
                      SqlValue(child.flno) + "'");
  if (rs.Eof()) {
    throw VbError(991, "Create_MScript_XML",
                  "No Parent M-Script Defined for child M-script " +
                      child.TableCode());
  }
  ConversionObject parent = child;
  parent.cpac = vb::Fit(rs.Fields("bpac").ToText(), 2);
  parent.cmod = vb::Fit(rs.Fields("bmod").ToText(), 3);
  parent.flno = vb::Fit(rs.Fields("bflno").ToText(), 3);
  return parent;
}

// The member codes of the parent, joined with "," in the order returned.
std::string MemberList(GeneratorContext& ctx, const ConversionObject& parent) {
  auto rs = ctx.Query("Select cpac+cmod+cflno from qxmap170 " +
                      VersionConditions(parent) + " and bpac = '" +
                      SqlValue(parent.cpac) + "'" + " and bmod = '" +
                      SqlValue(parent.cmod) + "'" + " and bflno = '" +
                      SqlValue(parent.flno) + "'");
  std::string list = rs.GetString("", ",", "");
  if (!list.empty()) list.pop_back();
  return list;
}

std::string RootOpeningLine(const ConversionObject& parent,
                            const std::string& members) {
  return "<" + parent.UpperTableCode() + " TYPE =\"M\" TARGETTABLES = \"" +
         members + "\">" + vb::kCrLf;
}

}  // namespace

bool Construct_MScript_info_Tag(GeneratorContext& ctx,
                                const ConversionObject& parent,
                                const std::string& members, std::string* text) {
  text->clear();
  try {
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
  } catch (const VbError& e) {
    ctx.ReportOperationError(e);
    return false;
  }
}

bool Create_MScript_XML(GeneratorContext& ctx, const ConversionObject& child) {
  try {
    ctx.doc.ResetFieldStore();
    const ConversionObject parent = FindParent(ctx, child);
    const std::string members = MemberList(ctx, parent);
    ctx.list_of_xml_generated += members + ",";

    const std::vector<Section> sections = {
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
    std::optional<std::string> document = AppendSections(
        RootOpeningLine(parent, members), sections, parent.TableCode());
    if (!document) return false;
    *document += "</" + parent.UpperTableCode() + ">";
    CheckPlainName("x" + parent.TableCode() + "0.XML");
    const std::string folder = EnsureOutputFolder(ctx, parent.cpac + parent.cmod);
    ctx.env->WriteFile(JoinPath(folder, "x" + parent.TableCode() + "0.XML"),
                       *document);
    return true;
  } catch (const VbError& e) {
    ctx.ReportOperationError(e);
    return false;
  }
}

}  // namespace mx::dd
