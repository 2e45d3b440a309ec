#include "dictionary/legacy_source_info_tag.h"

#include "dictionary/legacy_connections.h"
#include "dictionary/legacy_files.h"
#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx::legacy {

using repository::SqlValue;

namespace {

// Legacy sources all live in one package; flat files and tables each in a
// module of their own.
constexpr char kPackage[] = "qx";
constexpr char kFileModule[] = "fil";
constexpr char kTableModule[] = "tbl";

// A source entry: a flat file when it holds ".txt" (else ".csv"), the
// position of the last one found being where its extension starts.
struct SourceEntry {
  std::string name;
  size_t extension = 0;  // 1-based; 0 for a table
  bool is_file() const { return extension != 0; }
  std::string base_name() const {
    return is_file() ? vb::Left(name, extension - 1) : name;
  }
  std::string element() const { return vb::UCase(vb::Replace(name, ".", "_")); }
};

SourceEntry ReadEntry(const std::string& raw) {
  SourceEntry entry;
  entry.name = vb::Trim(raw);
  entry.extension = vb::InStrRev(entry.name, ".txt");
  if (entry.extension == 0) entry.extension = vb::InStrRev(entry.name, ".csv");
  return entry;
}

VbError NoSourceDetails(const SourceEntry& entry) {
  const std::string description =
      entry.is_file()
          ? "File Details for " + std::string(kPackage) + kFileModule +
                entry.name + " not present."
          : "Table details for the  Legacy table " + std::string(kPackage) +
                kTableModule + entry.name + " not present.";
  return VbError(124, "XML Generation", description);
}

// The file's NSKP element or the table's connection lines.
std::string SourceDetails(BuildContext& ctx, const std::string& sapp,
                          const SourceEntry& entry) {
  std::string details;
  const bool found =
      entry.is_file()
          ? Get_Legacy_File_details(ctx, sapp, kPackage, kFileModule,
                                    entry.name, &details)
          : Get_Legacy_Table_Connection(ctx, sapp, kPackage, kTableModule,
                                        entry.name, &details);
  if (!found) throw NoSourceDetails(entry);
  return details;
}

// The SFLD element: base name + "_" + field name of every layout field of
// the source, each followed by "|"; "" when the layout has none.
std::string SourceFieldElement(BuildContext& ctx, const std::string& sapp,
                               const SourceEntry& entry) {
  auto rs =
      ctx.Query(" select  '" + SqlValue(entry.base_name()) +
                "' + '_' + flna from qxlgy150  where  appl='" + SqlValue(sapp) +
                "' and  flno = '" + SqlValue(entry.name) + "'");
  if (rs.Eof()) return std::string();
  return "<SFLD>" + rs.GetString("|", "|", "") + "</SFLD>";
}

}  // namespace

bool Construct_Source_Info_Tag(BuildContext& ctx, const std::string& sapp,
                               const std::string& stbl, std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    std::string info;
    for (const std::string& raw : vb::Split(stbl, ",")) {
      const SourceEntry entry = ReadEntry(raw);
      info += "<" + entry.element() + ">";
      info += SourceDetails(ctx, sapp, entry);
      info += SourceFieldElement(ctx, sapp, entry);
      info += "</" + entry.element() + ">" + vb::kCrLf;
    }
    *text = "<SRC_INFO>" + info + "</SRC_INFO>";
    return true;
  });
}

}  // namespace mx::legacy
