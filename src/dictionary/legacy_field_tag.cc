#include "dictionary/legacy_field_tag.h"

#include "dictionary/domain_details.h"
#include "dictionary/field_store.h"
#include "dictionary/field_tag.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx::legacy {

using repository::SqlValue;

namespace {

// What the dates and times of a mandatory field start as, so that the
// converted row never holds the empty date.
constexpr char kMandatoryDate[] = "1970-01-04 00:00:00";
constexpr char kOptionalDate[] = "1970-01-01 00:00:00";

std::string TableConditions(const std::string& application,
                            const std::string& package,
                            const std::string& module,
                            const std::string& table) {
  return "where appl = '" + SqlValue(application) + "' AND cpac = '" +
         SqlValue(package) + "' AND cmod = '" + SqlValue(module) +
         "' AND flno = '" + SqlValue(table) + "'";
}

// A null flag is a value compared, so it is an error, not a "no".
bool IsMandatory(const Variant& mand) {
  return vb::UCase(mand.ToText()) == "Y";
}

// The initial value the store receives: fixed for dates ("K") and times
// ("T"), the dictionary's own value for every other type.
std::string InitialValue(const std::string& type, const Variant& mand,
                         const Variant& iniv) {
  if (type == "K") return IsMandatory(mand) ? kMandatoryDate : kOptionalDate;
  if (type == "T") return IsMandatory(mand) ? kMandatoryDate : "0";
  return iniv.IsNull() ? std::string() : vb::Trim(iniv.ToText());
}

// The details of a plain field's domain. Only a null domain goes without
// the lookup: a blank one is looked up (and is not found).
bool LookUpDomain(BuildContext& ctx, const std::string& application,
                  const Variant& domain, DomainDetails* details) {
  *details = DomainDetails();
  if (domain.IsNull()) return true;
  return Get_Domain_Details(ctx, application, domain.ToText(), details);
}

// The first character of a case or alignment value; one blank for a field
// without domain details.
std::string CodeOf(const std::string& value, bool has_details) {
  return has_details ? vb::Left(value, 1) : " ";
}

// The length of a layout field as its line shows it.
std::string LayoutLength(const Variant& epos, const Variant& spos) {
  if (epos.IsNull() || spos.IsNull()) return "0";
  return vb::NumberToText(epos.ToDouble() - spos.ToDouble());
}

}  // namespace

bool Construct_Field_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                         const std::string& application,
                         const std::string& package, const std::string& module,
                         const std::string& table, std::string* text) {
  if (facts.target_source) {
    return Construct_Legacy_File_Field_Tag(ctx, application, package, module,
                                           table, text);
  }
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    auto rs = ctx.Query(
        " select fdnm , cdom , iniv , dept , comb, mand from    qxddi150  " +
        TableConditions(application, package, module, table) +
        " order by fdno");
    if (rs.Eof()) throw NoFieldInformation(application, package, module, table);
    std::string lines;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string name = rs.Fields("fdnm").ToText();
      const Variant& domain = rs.Fields("cdom");
      const std::string combination = rs.Fields("comb").ToTextOrEmpty();
      FieldLine line{name, domain.ToTextOrEmpty(), combination, {}, {}, {}, {},
                     {}};
      DomainDetails details;
      bool has_details = false;
      if (vb::UCase(combination) == "Y") {
        if (!Get_Child_Field_List(ctx, application, package, module, table,
                                  name, &line.child_list)) {
          return false;
        }
      } else {
        if (!LookUpDomain(ctx, application, domain, &details)) return false;
        has_details = !domain.IsNull();
      }
      line.type = details.type;
      line.length = details.length;
      line.digits_before = details.digits_before;
      line.digits_after = details.digits_after;
      lines += FormatFieldLine(line);
      if (vb::UCase(combination) != "N") continue;
      dd::FieldDetails field;
      // dept is read as a whole number and kept as the store's 16-bit
      // depth: past 32767 it is an overflow, as for the other class.
      field.depth = rs.Fields("dept").ToInt16();
      field.field_name = name;
      field.domain = line.domain;
      field.initial_value =
          InitialValue(details.type, rs.Fields("mand"), rs.Fields("iniv"));
      field.type = details.type;
      field.length = details.length;
      field.alignment = CodeOf(details.alignment, has_details);
      field.case_conversion = CodeOf(details.case_conversion, has_details);
      field.table = package + module + table;
      legacy::Store_Field_Details_in_Dictionary(ctx, field);
    }
    *text = "<TFLD>" + lines + "</TFLD>";
    return true;
  });
}

bool Construct_Legacy_File_Field_Tag(BuildContext& ctx,
                                     const std::string& application,
                                     const std::string& package,
                                     const std::string& module,
                                     const std::string& table,
                                     std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    auto rs = ctx.Query(" select epos,spos,flna , dtyp from    qxlgy150  " +
                        TableConditions(application, package, module, table) +
                        " order by seqn");
    if (rs.Eof()) throw NoFieldInformation(application, package, module, table);
    std::string lines;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string name = rs.Fields("flna").ToText();
      const std::string type = rs.Fields("dtyp").ToText();
      const std::string length =
          LayoutLength(rs.Fields("epos"), rs.Fields("spos"));
      lines += FormatFieldLine({name, {}, {}, {}, type, length, {}, {}});
      dd::FieldDetails field;
      field.field_name = name;
      field.type = type;
      field.length = length;
      field.alignment = " ";
      field.case_conversion = " ";
      field.table = package + module + table;
      legacy::Store_Field_Details_in_Dictionary(ctx, field);
    }
    *text = "<TFLD>" + lines + "</TFLD>";
    return true;
  });
}

}  // namespace mx::legacy
