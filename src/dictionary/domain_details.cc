#include "dictionary/domain_details.h"

#include "platform/vb_convert.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

namespace {

std::string TrimmedOrEmpty(const Variant& v) {
  return v.IsNull() ? std::string() : vb::Trim(v.ToText());
}

std::string UpperOrEmpty(const Variant& v) {
  return v.IsNull() ? std::string() : vb::UCase(v.ToText());
}

}  // namespace

DomainDetails Read_Domain_Details(BuildContext& ctx,
                                  const std::string& application,
                                  const std::string& domain) {
  auto rs = ctx.Query(
      " select type , leng , diga , adju , conv , digb from qxddi220 where "
      "appl = '" +
      SqlValue(application) + "' AND cpac+cdom = '" + SqlValue(domain) + "'");
  if (rs.Eof()) {
    throw VbError(114, "XML Generation",
                  " No Domain information for the domain " + domain +
                      " in the Application " + application);
  }
  DomainDetails details;
  details.type = vb::UCase(rs.Fields("type").ToText());
  details.length = TrimmedOrEmpty(rs.Fields("leng"));
  details.alignment = TrimmedOrEmpty(rs.Fields("adju"));
  details.case_conversion = TrimmedOrEmpty(rs.Fields("conv"));
  details.digits_after = TrimmedOrEmpty(rs.Fields("diga"));
  details.digits_before = TrimmedOrEmpty(rs.Fields("digb"));
  return details;
}

bool Get_Domain_Details(BuildContext& ctx, const std::string& application,
                        const std::string& domain, DomainDetails* details) {
  *details = DomainDetails();
  return ReportingFailures(ctx.reporter(), [&] {
    *details = Read_Domain_Details(ctx, application, domain);
    return true;
  });
}

bool Get_Field_Domain_Details(BuildContext& ctx,
                              const std::string& qualified_field,
                              const std::string& application,
                              FieldDomainDetails* details) {
  details->case_conversion.clear();
  details->alignment.clear();
  return ReportingFailures(ctx.reporter(), [&] {
    std::string field = vb::Trim(qualified_field);
    // Line breaks and tabs taken out, in the original's order of replaces.
    if (field.find_first_of("\r\n\t") != std::string::npos) {
      for (const char* junk : {"\r\n", "\r", "\n", "\t"}) {
        field = vb::Replace(field, junk, "");
      }
    }
    auto rs = ctx.Query(
        " select type,conv,adju,leng from qxddi220  "
        " where  appl = '" +
        SqlValue(application) + "' " +
        " and cpac + cdom = (select cdom from qxddi150 where  appl = '" +
        SqlValue(application) + "'" +
        " and cpac+ cmod + flno + '.' + fdnm = '" + SqlValue(field) + "')");
    if (rs.Eof()) return true;
    details->case_conversion = UpperOrEmpty(rs.Fields("conv"));
    details->alignment = UpperOrEmpty(rs.Fields("adju"));
    const Variant& length = rs.Fields("leng");
    details->length = length.IsNull() ? 0 : vb::IntOfVal(length.ToText());
    details->type = vb::UCase(rs.Fields("type").ToText());
    return true;
  });
}

}  // namespace mx
