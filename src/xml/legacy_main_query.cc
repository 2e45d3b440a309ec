#include "xml/legacy_main_query.h"

#include <cstdint>
#include <utility>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "rules/legacy_rule_rewriting.h"
#include "split/split_condition.h"
#include "xml/escaping.h"
#include "xml/format_string.h"
#include "xml/legacy_query.h"
#include "xml/main_query_rows.h"

namespace mx::legacy {

namespace {

constexpr int32_t kRewriteFailed = 125;

VbError RewriteFailed() { return VbError(kRewriteFailed, "XMLGeneration", ""); }

std::string MainQuerySql(const ConversionObject& object) {
  return " select *  from qxmap130" + MainQueryRowsCondition(object) +
         " order by scpac, scmod, sflno, icod desc";
}

// One row of qxmap130 as the builder uses it.
struct SectionRow {
  std::string source_key;  // scpac + scmod + sflno
  std::string module;      // scmod
  std::string file;        // sflno
  std::string code;        // icod, upper-cased
  std::string text;        // qury; a null reads as empty
};

SectionRow ReadRow(const repository::Recordset& rs) {
  SectionRow row;
  row.module = rs.Fields("scmod").ToTextOrEmpty();
  row.file = rs.Fields("sflno").ToTextOrEmpty();
  row.source_key = rs.Fields("scpac").ToTextOrEmpty() + row.module + row.file;
  row.code = vb::UCase(rs.Fields("icod").ToText());
  row.text = rs.Fields("qury").ToTextOrEmpty();
  return row;
}

// cust.txt gives CUST_TXT.
std::string SourceElementName(const std::string& file) {
  return vb::Replace(vb::UCase(file), ".", "_");
}

// Legacy tables and legacy files: their texts name legacy fields.
bool IsTranslatedSource(const std::string& module) {
  const std::string upper = vb::UCase(module);
  return upper == "TBL" || upper == "FIL";
}

// A section other than the select text of a translated source: rule
// rewriting, then the section translation.
std::string TranslatedSection(BuildContext& ctx, const LegacyRunFacts& facts,
                              const ConversionObject& object,
                              const std::string& section) {
  std::string rewritten;
  if (!Replace_Empty_Default_Target(ctx, facts.target_source, object.sapp,
                                    object.tapp, section, &rewritten)) {
    throw RewriteFailed();
  }
  std::string translated;
  if (!Convert_Select_Section(ctx, rewritten, object.sapp, &translated)) {
    throw RewriteFailed();
  }
  return translated;
}

// The formatter's entities turned back into their characters, the
// ampersand last.
std::string UndoFormatterEscaping(const std::string& text) {
  std::string plain = vb::Replace(text, "&quot;", "\"");
  plain = vb::Replace(plain, "&lt;", "<");
  plain = vb::Replace(plain, "&gt;", ">");
  return vb::Replace(plain, "&amp;", "&");
}

// The select text of a translated source. In a split run the worker shell's
// range condition, stored under the upper-cased table or file name as the
// pre-condition's migrate statement names it, joins the where-clause first.
// The formatter that lays the text out for it escapes what it formats, and
// the translation formats again, undoing every entity but "&gt;": handed
// over escaped, the select's own comparisons would come out escaped once
// more than in a run without the split (a > 0 read back as a &gt; 0). It is
// handed over as laid out, unescaped, and so escaped as often as any other.
std::string TranslatedSelect(BuildContext& ctx, const ConversionObject& object,
                             const SectionRow& row) {
  std::string select = row.text;
  const std::string* condition =
      ctx.doc.split_conditions.Find(vb::UCase(row.file));
  if (condition != nullptr && !condition->empty()) {
    select = UndoFormatterEscaping(
        InsertSplitCondition(FormatStringLegacy(row.text), *condition));
  }
  std::string translated;
  if (!Convert_Legacy_Query(ctx, select, object.sapp, &translated)) {
    throw RewriteFailed();
  }
  return translated;
}

// The row's text as written: translated for a legacy table or file, in every
// case escaped. Every code other than S counts as a section, whatever it is.
std::string RowText(BuildContext& ctx, const LegacyRunFacts& facts,
                    const ConversionObject& object, const SectionRow& row) {
  if (!IsTranslatedSource(row.module)) return Escape_XML_Text(row.text);
  if (row.code == "S") {
    return Escape_XML_Text(TranslatedSelect(ctx, object, row));
  }
  return Escape_XML_Text(TranslatedSection(ctx, facts, object, row.text));
}

}  // namespace

bool Construct_MainQuery_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                             const ConversionObject& object,
                             const std::string& /*stbl*/, std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    repository::Recordset rs = ctx.Query(MainQuerySql(object));
    std::string elements;
    bool element_open = false;
    std::string open_key;
    std::string open_name;
    for (; !rs.Eof(); rs.MoveNext()) {
      const SectionRow row = ReadRow(rs);
      if (!element_open || row.source_key != open_key) {
        if (element_open) elements += "</" + open_name + ">" + vb::kCrLf;
        element_open = true;
        open_key = row.source_key;
        open_name = SourceElementName(row.file);
        elements += "<" + open_name + ">" + vb::kCrLf;
      }
      elements += "<" + row.code + ">" + RowText(ctx, facts, object, row) +
                  "</" + row.code + ">";
    }
    if (element_open) elements += "</" + open_name + ">" + vb::kCrLf;
    rs.Close();
    *text = std::move(elements);
    return true;
  });
}

}  // namespace mx::legacy
