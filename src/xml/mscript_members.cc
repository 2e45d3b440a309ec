#include "xml/mscript_members.h"

#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

namespace {

std::string VersionConditions(const ConversionObject& o) {
  return " where mprf = " + vb::NumberToText(int64_t{o.profile}) +
         " and vers = '" + SqlValue(o.vers) + "'" + " and rele = '" +
         SqlValue(o.rele) + "'" + " and cust = '" + SqlValue(o.cust) + "'";
}

}  // namespace

// The parent of the child: the same conversion-object inputs with the
// parent's package, module and table number. Error 991 when there is none.
ConversionObject FindParent(BuildContext& ctx, const ConversionObject& child,
                            TableNumberWidth width) {
  auto rs = ctx.Query("Select bpac,bmod,bflno from qxmap170 " +
                      VersionConditions(child) + " and cpac = '" +
                      SqlValue(child.cpac) + "'" + " and cmod = '" +
                      SqlValue(child.cmod) + "'" + " and cflno = '" +
                      SqlValue(child.flno) + "'");
  if (rs.Eof()) {
    throw VbError(
        991, "Create_MScript_XML",
        "No Parent M-Script Defined for child M-script " + child.TableCode());
  }
  ConversionObject parent = child;
  parent.cpac = vb::Fit(rs.Fields("bpac").ToText(), 2);
  parent.cmod = vb::Fit(rs.Fields("bmod").ToText(), 3);
  parent.flno = rs.Fields("bflno").ToText();
  if (width == kFixedTableNumber) parent.flno = vb::Fit(parent.flno, 3);
  return parent;
}

// The member codes of the parent, joined with "," in the order returned.
std::string MemberList(BuildContext& ctx, const ConversionObject& parent) {
  auto rs = ctx.Query("Select cpac+cmod+cflno from qxmap170 " +
                      VersionConditions(parent) + " and bpac = '" +
                      SqlValue(parent.cpac) + "'" + " and bmod = '" +
                      SqlValue(parent.cmod) + "'" + " and bflno = '" +
                      SqlValue(parent.flno) + "'");
  std::string list = rs.GetString("", ",", "");
  if (!list.empty()) list.pop_back();
  return list;
}

// An M-script without members would be written as an empty document whose
// members all count as written; it fails instead.
VbError NoMembersError(const ConversionObject& parent) {
  return VbError(
      1011, "Create_MScript_XML",
      "The M-script " + parent.TableCode() + " has no member tables");
}

std::string MemberTableNumber(const std::string& code, TableNumberWidth width) {
  return width == kFixedTableNumber ? vb::Mid(code, 6, 3) : vb::Mid(code, 6);
}

}  // namespace mx
