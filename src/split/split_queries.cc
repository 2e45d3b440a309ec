#include "split/split_queries.h"

#include <vector>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "split/range_code.h"
#include "split/split_fields.h"

namespace mx {

namespace {

constexpr char kMigrate[] = "migrate";
constexpr int32_t kNoSplitInformation = 1009;

// How one class reads a migrated table's name and builds its range pieces.
struct SplitDialect {
  std::string (*table_name)(const std::string& piece);
  SplitRangePieces (*range_pieces)(BuildContext& ctx,
                                   const std::string& application,
                                   const std::string& target,
                                   const std::string& table);
};

// The text cut at every "migrate", found without regard to case; the word
// itself is dropped. No occurrence gives the whole text as the one piece.
std::vector<std::string> SplitAtMigrate(const std::string& text) {
  std::vector<std::string> pieces;
  size_t start = 1;
  for (;;) {
    const size_t at = vb::InStrText(start, text, kMigrate);
    if (at == 0) break;
    pieces.push_back(vb::Mid(text, start, at - start));
    start = at + sizeof(kMigrate) - 1;
  }
  pieces.push_back(vb::Mid(text, start));
  return pieces;
}

// The text after a migrate with its tabs dropped and leading blanks skipped.
std::string AfterMigrate(const std::string& piece) {
  return vb::LTrim(vb::Replace(piece, "\t", ""));
}

bool HasSplitRows(BuildContext& ctx, const std::string& target) {
  repository::Recordset rs = ctx.Query("select * from qxmap300 where ttbl='" +
                                       repository::SqlValue(target) + "'");
  const bool found = !rs.Eof();
  rs.Close();
  return found;
}

VbError NoSplitInformation(const std::string& target,
                           const std::string& table) {
  return VbError(kNoSplitInformation, "XML Generation",
                 " Split Information not given for the Target Table " + target +
                     " - Source table " + table);
}

// The rewritten text: before every migrate, the range code of its table;
// the range conditions go into the document's range dictionary and the
// declarations are appended to *declarations.
std::string InsertRangeCode(BuildContext& ctx, const SplitDialect& dialect,
                            const std::string& application,
                            const std::string& text, const std::string& target,
                            std::string* declarations) {
  if (!HasSplitRows(ctx, target)) return text;
  const std::vector<std::string> pieces = SplitAtMigrate(text);
  std::string result = pieces[0];
  for (size_t i = 1; i < pieces.size(); ++i) {
    const std::string table = dialect.table_name(pieces[i]);
    SplitRangePieces range =
        dialect.range_pieces(ctx, application, target, table);
    ctx.doc.split_conditions.Add(vb::UCase(table), range.condition);
    *declarations += range.declarations;
    result += std::string(vb::kCrLf) + range.code + vb::kCrLf + "migrate " +
              pieces[i];
  }
  return result;
}

bool AddSplitQueries(BuildContext& ctx, const SplitDialect& dialect,
                     const std::string& application, const std::string& text,
                     const std::string& target, std::string* declarations,
                     std::string* rewritten) {
  try {
    ctx.doc.split_conditions = OrderedDict<std::string>();
    *rewritten =
        InsertRangeCode(ctx, dialect, application, text, target, declarations);
    return true;
  } catch (const VbError& e) {
    ctx.ReportError(e, "\t\tERROR:in AddSplitQueries_to_Precondition  ErrNo." +
                           vb::ErrNo(e.number()) + ":" + e.description());
    return false;
  }
}

}  // namespace

namespace dd {

namespace {

// Exactly the 8 characters of a table code, whatever follows them.
std::string TableName(const std::string& piece) {
  return vb::Left(AfterMigrate(piece), 8);
}

SplitRangePieces RangePieces(BuildContext& ctx, const std::string& application,
                             const std::string& target,
                             const std::string& table) {
  std::string raw;
  const std::string fields =
      get_split_fields(ctx, application, target, table, &raw);
  if (vb::IsBlank(fields)) throw NoSplitInformation(target, table);
  return Build_Split_Range_Code(ctx, application, target, table, fields, raw);
}

}  // namespace

bool AddSplitQueries_to_Precondition(BuildContext& ctx,
                                     const std::string& StrSrcAppl,
                                     const std::string& InString,
                                     const std::string& strTgtTable,
                                     std::string* StrReturnString) {
  std::string& declarations = ctx.doc.split_declarations;
  declarations =
      std::string("long var.qxgct872.cnt") + vb::kCrLf + "long var.to.lng.vshn";
  std::string rewritten;
  if (!AddSplitQueries(ctx, {TableName, RangePieces}, StrSrcAppl, InString,
                       strTgtTable, &declarations, &rewritten)) {
    return false;
  }
  declarations += std::string(vb::kCrLf) + "\ttable tqxgct872";
  *StrReturnString = rewritten;
  return true;
}

}  // namespace dd

namespace legacy {

namespace {

// The word after migrate: up to the first blank, CR or LF.
std::string TableName(const std::string& piece) {
  const std::string text = AfterMigrate(piece);
  return text.substr(0, text.find_first_of(" \r\n"));
}

SplitRangePieces RangePieces(BuildContext& ctx, const std::string& application,
                             const std::string& target,
                             const std::string& table) {
  const std::string fields = get_split_fields(ctx, application, target, table);
  if (vb::IsBlank(fields)) throw NoSplitInformation(target, table);
  return Build_Legacy_Split_Range_Code(ctx, application, target, table, fields);
}

}  // namespace

bool AddSplitQueries_to_Precondition(BuildContext& ctx,
                                     const std::string& StrSrcAppl,
                                     const std::string& InString,
                                     const std::string& strTgtTable,
                                     std::string* StrReturnString) {
  std::string no_declarations;
  std::string rewritten;
  if (!AddSplitQueries(ctx, {TableName, RangePieces}, StrSrcAppl, InString,
                       strTgtTable, &no_declarations, &rewritten)) {
    return false;
  }
  *StrReturnString = rewritten;
  return true;
}

}  // namespace legacy
}  // namespace mx
