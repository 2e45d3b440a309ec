#include "legacy/schema_ini.h"

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx::legacy {

using repository::Recordset;
using repository::SqlValue;

namespace {

// The text driver's words for the repository's one-letter types. A letter
// outside the table gets "Text", the driver's own default.
const char* TypeWord(const std::string& dtyp) {
  static constexpr struct {
    const char* code;
    const char* word;
  } kWords[] = {{"M", "Bit"},      {"B", "Byte"},   {"I", "Short"},
                {"C", "Currency"}, {"S", "Single"}, {"L", "Long"},
                {"U", "Text"},     {"D", "Double"}, {"T", "Datetime"},
                {"A", "Memo"}};
  const std::string code = vb::UCase(dtyp);
  for (const auto& entry : kWords) {
    if (code == entry.code) return entry.word;
  }
  return "Text";
}

// The part of flno after its last backslash.
std::string FileName(const std::string& flno) {
  const size_t slash = flno.rfind('\\');
  return slash == std::string::npos ? flno : flno.substr(slash + 1);
}

// The file name up to its first full stop.
std::string BaseName(const std::string& file_name) {
  return file_name.substr(0, file_name.find('.'));
}

std::string FormatLine(const Variant& sepr) {
  if (sepr.IsNull()) return "Format=FixedLength";
  const std::string separator = sepr.ToText();
  const std::string upper = vb::UCase(separator);
  if (upper == "TAB") return "Format=TabDelimited";
  if (upper == ",") return "Format=CSVDelimited";
  return "Format=Delimited(" + separator + ")";
}

// A null position leaves the width empty.
std::string FixedWidth(const Variant& spos, const Variant& epos) {
  if (spos.IsNull() || epos.IsNull()) return "";
  return vb::NumberToText(epos.ToDouble() - spos.ToDouble());
}

// One line per field of the file, in field order:
// "ColN = BASE_NAME TYPE width W" CR LF, the name without its "$" signs.
std::string ColumnLines(BuildContext& ctx, const std::string& application,
                        const std::string& flno, bool fixed_length) {
  Recordset fields = ctx.Query(
      " select flna, dtyp, spos, epos from qxlgy150  where  "
      "qxlgy150.appl='" +
      SqlValue(application) +
      "' and qxlgy150.cpac='qx' and qxlgy150.cmod='fil' and "
      "qxlgy150.flno='" +
      SqlValue(flno) + "' order by seqn ");
  // The columns in the order the query names them.
  enum Column : size_t { kFlna, kDtyp, kSpos, kEpos };
  const std::string base = BaseName(FileName(flno));
  std::string lines;
  for (int n = 1; !fields.Eof(); fields.MoveNext(), ++n) {
    const std::string name = fields.Fields(kFlna).ToTextOrEmpty();
    lines.append("Col").append(std::to_string(n)).append(" = ");
    lines.append(base).append("_");
    if (name.find('$') == std::string::npos) {
      lines.append(name);
    } else {
      lines.append(vb::Replace(name, "$", ""));
    }
    lines.append(" ").append(TypeWord(fields.Fields(kDtyp).ToTextOrEmpty()));
    lines.append(" width ");
    if (fixed_length) {
      lines.append(FixedWidth(fields.Fields(kSpos), fields.Fields(kEpos)));
    } else {
      lines.append(" 255");
    }
    lines.append(vb::kCrLf);
  }
  return lines;
}

std::string Section(BuildContext& ctx, const std::string& application,
                    const Recordset& file) {
  const std::string flno = file.Fields("flno").ToTextOrEmpty();
  const Variant& sepr = file.Fields("sepr");
  const bool header = file.Fields("tcol").ToBoolOrFalse();
  return "[" + FileName(flno) + "]" + vb::kCrLf + FormatLine(sepr) + vb::kCrLf +
         (header ? "ColNameHeader=True" : "ColNameHeader=False") + vb::kCrLf +
         "CharacterSet=ANSI" + vb::kCrLf +
         ColumnLines(ctx, application, flno, sepr.IsNull()) + vb::kCrLf;
}

}  // namespace

std::string SchemaIniText(BuildContext& ctx, const std::string& application) {
  Recordset files = ctx.Query(" select * from qxlgy141  where appl='" +
                              SqlValue(vb::Trim(application)) +
                              "' and cpac='qx'  and cmod='fil' ");
  std::string text;
  for (; !files.Eof(); files.MoveNext()) {
    text += Section(ctx, application, files);
  }
  return text;
}

bool Build_Schema_ini(BuildContext& ctx, Env& env,
                      const std::string& application) {
  try {
    const std::string text = SchemaIniText(ctx, application);
    if (text.empty()) return true;
    const std::string& folder = ctx.settings.schema_ini_path;
    if (folder.empty()) throw errors::PathNotFound();
    env.WriteFile(JoinPath(folder, "Schema.ini"), text);
    return true;
  } catch (const VbError& e) {
    ctx.ReportError(e, "\t\tERROR in Build_Schema_ini :- " +
                           vb::ErrNo(e.number()) + " - " + e.description() +
                           vb::kCrLf);
    return false;
  }
}

}  // namespace mx::legacy
