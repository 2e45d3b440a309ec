#include "dictionary/field_tag.h"

#include "dictionary/domain_details.h"
#include "dictionary/field_store.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

namespace {

void AppendAttribute(std::string& text, std::string_view name_with_equals,
                     std::string_view value) {
  text.append(name_with_equals).append("\"").append(value).append("\"");
}

}  // namespace

VbError NoFieldInformation(const std::string& application,
                           const std::string& package,
                           const std::string& module,
                           const std::string& table) {
  return VbError(112, "XML Generation",
                 " No DDI Information present in the Appplication " +
                     application + " for the TABLE: " + package + module +
                     table);
}

// Written piece by piece into one text: a document has a line per field.
std::string FormatFieldLine(const FieldLine& line) {
  const std::string name = vb::UCase(line.name);
  std::string text;
  text.reserve(120 + 2 * name.size() + line.domain.size() +
               line.combination.size() + line.child_list.size() +
               line.type.size() + line.length.size() +
               line.digits_before.size() + line.digits_after.size());
  text.append(" <").append(name);
  AppendAttribute(text, " DOMA = ", line.domain);
  AppendAttribute(text, " COMB = ", line.combination);
  AppendAttribute(text, " CHLD = ", vb::UCase(line.child_list));
  text += ' ';
  AppendAttribute(text, " TYPE = ", line.type);
  AppendAttribute(text, " LENG = ", line.length);
  AppendAttribute(text, " BDEC = ", line.digits_before);
  AppendAttribute(text, " ADEC  = ", line.digits_after);
  text.append("  >  </").append(name).append("> ").append(vb::kCrLf);
  return text;
}

bool Get_Child_Field_List(BuildContext& ctx, const std::string& application,
                          const std::string& package, const std::string& module,
                          const std::string& table, const std::string& field,
                          std::string* child_list) {
  child_list->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    auto rs =
        ctx.Query("SELECT * FROM qxddi160  WHERE appl = '" +
                  SqlValue(application) + "' AND cpac = '" + SqlValue(package) +
                  "' AND cmod = '" + SqlValue(module) + "' AND flno = '" +
                  SqlValue(table) + "' AND fdnm = '" + SqlValue(field) + "'");
    if (rs.Eof()) {
      throw VbError(113, "XML Generation",
                    "No Child Field information for the field " + package +
                        module + table + "." + field + " in the application " +
                        application);
    }
    std::string list;
    for (; !rs.Eof(); rs.MoveNext()) {
      list += vb::Trim(rs.Fields("chld").ToText()) + "|";
    }
    list.pop_back();
    *child_list = std::move(list);
    return true;
  });
}

}  // namespace mx

namespace mx::dd {

namespace {

// What the field store needs of a domain: its details as written into the
// field line, and the one-letter case and alignment codes.
struct FieldDomain {
  DomainDetails details;
  std::string case_code = " ";
  std::string alignment_code = " ";
};

bool LookUpFieldDomain(BuildContext& ctx, const std::string& application,
                       const std::string& domain, FieldDomain* out) {
  *out = FieldDomain();
  if (vb::IsBlank(domain)) return true;
  if (!Get_Domain_Details(ctx, application, domain, &out->details)) {
    return false;
  }
  out->case_code = vb::Left(out->details.case_conversion, 1);
  out->alignment_code = vb::Left(out->details.alignment, 1);
  return true;
}

}  // namespace

bool Construct_Field_Tag(BuildContext& ctx, const std::string& application,
                         const std::string& package, const std::string& module,
                         const std::string& table, std::string* field_text) {
  field_text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    auto rs = ctx.Query(
        " select fdnm , cdom , iniv , dept , mand , comb from    qxddi150  "
        "where appl = '" +
        SqlValue(application) + "' AND cpac = '" + SqlValue(package) +
        "' AND cmod = '" + SqlValue(module) + "' AND flno = '" +
        SqlValue(table) + "'" + " order by fdno");
    if (rs.Eof()) throw NoFieldInformation(application, package, module, table);
    std::string lines;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string name = rs.Fields("fdnm").ToText();
      const std::string domain = rs.Fields("cdom").ToTextOrEmpty();
      const std::string combination = rs.Fields("comb").ToTextOrEmpty();
      FieldLine line{name, domain, combination, {}, {}, {}, {}, {}};
      if (vb::UCase(combination) == "Y" &&
          !Get_Child_Field_List(ctx, application, package, module, table, name,
                                &line.child_list)) {
        return false;
      }
      FieldDomain field_domain;
      if (!LookUpFieldDomain(ctx, application, domain, &field_domain)) {
        return false;
      }
      line.type = field_domain.details.type;
      line.length = field_domain.details.length;
      line.digits_before = field_domain.details.digits_before;
      line.digits_after = field_domain.details.digits_after;
      lines += FormatFieldLine(line);
      if (vb::UCase(combination) == "N") {
        FieldDetails field;
        field.depth = rs.Fields("dept").ToInt16();
        field.field_name = name;
        field.domain = domain;
        const Variant& initial = rs.Fields("iniv");
        field.initial_value =
            initial.IsNull() ? "" : vb::Trim(initial.ToText());
        field.type = line.type;
        field.length = line.length;
        field.alignment = field_domain.alignment_code;
        field.case_conversion = field_domain.case_code;
        field.table = package + module + table;
        // Stored as "Y" when mandatory in any case, so that the dumps, which
        // look for "Y", treat the field as its initial value does.
        field.mandatory = rs.Fields("mand").ToText();
        if (vb::UCase(field.mandatory) == "Y") field.mandatory = "Y";
        Store_Field_Details_in_Dictionary(ctx, field);
      }
    }
    *field_text = "<TFLD>" + lines + "</TFLD>";
    return true;
  });
}

}  // namespace mx::dd
