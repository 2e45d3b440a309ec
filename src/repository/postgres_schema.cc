#include "repository/postgres_schema.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>

#include "platform/vb_text.h"
#include "repository/schema.h"

namespace mx::repository {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return upper;
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

bool IsPlainIdentifier(std::string_view name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
    return false;
  }
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

// The blank-keeping text of a bpchar: its output form, which a cast to text
// would trim.
constexpr char kTextOfBpchar[] =
    "CREATE OR REPLACE FUNCTION mx_text(bpchar) RETURNS text LANGUAGE sql "
    "IMMUTABLE STRICT PARALLEL SAFE AS "
    "'SELECT pg_catalog.textin(pg_catalog.bpcharout($1))'";

// || of two texts where either is a bpchar; STRICT keeps "null || x" null.
std::string ConcatFunction(const char* left, const char* right,
                           const char* body) {
  return std::string("CREATE OR REPLACE FUNCTION mx_concat(") + left + ", " +
         right +
         ") RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS "
         "'SELECT " +
         body + "'";
}

std::string ConcatOperator(const char* left, const char* right) {
  return std::string(
             "DO 'BEGIN IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_operator "
             "WHERE oprname = ''||'' AND oprleft = ''") +
         left + "''::regtype AND oprright = ''" + right +
         "''::regtype) THEN CREATE OPERATOR || (FUNCTION = mx_concat, "
         "LEFTARG = " +
         left + ", RIGHTARG = " + right + "); END IF; END'";
}

std::vector<std::string> BuildSupportStatements() {
  return {
      kTextOfBpchar,
      ConcatFunction("bpchar", "bpchar",
                     "mx_text($1) OPERATOR(pg_catalog.||) mx_text($2)"),
      ConcatFunction("bpchar", "text",
                     "mx_text($1) OPERATOR(pg_catalog.||) $2"),
      ConcatFunction("text", "bpchar",
                     "$1 OPERATOR(pg_catalog.||) mx_text($2)"),
      ConcatOperator("bpchar", "bpchar"),
      ConcatOperator("bpchar", "text"),
      ConcatOperator("text", "bpchar"),
      "CREATE OR REPLACE FUNCTION upper(bpchar) RETURNS text LANGUAGE sql "
      "IMMUTABLE STRICT PARALLEL SAFE AS 'SELECT "
      "pg_catalog.upper(mx_text($1))'",
      "CREATE OR REPLACE FUNCTION lower(bpchar) RETURNS text LANGUAGE sql "
      "IMMUTABLE STRICT PARALLEL SAFE AS 'SELECT "
      "pg_catalog.lower(mx_text($1))'",
      "CREATE OR REPLACE FUNCTION replace(bpchar, text, text) RETURNS text "
      "LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS "
      "'SELECT pg_catalog.replace(mx_text($1), $2, $3)'",
  };
}

// A word of a query outside literals, lower-cased, with its parenthesis
// depth; a word followed by "(" is a function name.
struct Word {
  std::string text;
  int depth = 0;
  bool call = false;
};

struct QueryShape {
  std::vector<Word> words;
  int commas_in_from = 0;  // at depth 0, between FROM and the next clause
  bool well_formed = true;
};

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
         c == '.' || c == '"';
}

QueryShape ShapeOf(std::string_view sql) {
  QueryShape shape;
  int depth = 0;
  bool in_from = false;
  for (size_t i = 0; i < sql.size();) {
    const char c = sql[i];
    if (c == '\'') {  // a literal; '' inside it stands for one quote
      for (++i; i < sql.size(); ++i) {
        if (sql[i] != '\'') continue;
        if (i + 1 < sql.size() && sql[i + 1] == '\'') {
          ++i;
        } else {
          break;
        }
      }
      if (i >= sql.size()) shape.well_formed = false;
      ++i;
    } else if (IsWordChar(c)) {
      Word word;
      for (; i < sql.size() && IsWordChar(sql[i]); ++i) {
        word.text +=
            static_cast<char>(std::tolower(static_cast<unsigned char>(sql[i])));
      }
      size_t next = i;
      while (next < sql.size() &&
             std::isspace(static_cast<unsigned char>(sql[next]))) {
        ++next;
      }
      word.call = next < sql.size() && sql[next] == '(';
      word.depth = depth;
      if (depth == 0 && (word.text == "where" || word.text == "order")) {
        in_from = false;
      }
      if (depth == 0 && word.text == "from") in_from = true;
      shape.words.push_back(std::move(word));
    } else {
      if (c == '(') ++depth;
      if (c == ')' && --depth < 0) shape.well_formed = false;
      if (c == ',' && depth == 0 && in_from) ++shape.commas_in_from;
      if (c == ';' || (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') ||
          (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*')) {
        shape.well_formed = false;  // several statements, comments
      }
      ++i;
    }
  }
  if (depth != 0) shape.well_formed = false;
  return shape;
}

// A plain single-table SELECT, and whether it has an ORDER BY.
std::optional<bool> SingleTableSelect(const QueryShape& shape) {
  static const std::set<std::string> kRefused = {
      "join",   "union",    "intersect", "except", "group", "having", "limit",
      "offset", "distinct", "fetch",     "for",    "into",  "window", "with"};
  static const std::set<std::string> kAggregates = {
      "count",      "sum",       "min",      "max",     "avg",
      "string_agg", "array_agg", "bool_and", "bool_or", "every"};
  const std::vector<Word>& w = shape.words;
  if (!shape.well_formed || w.empty() || w[0].text != "select" ||
      shape.commas_in_from != 0) {
    return std::nullopt;
  }
  int froms = 0;
  bool ordered = false;
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i].text == "select" && i > 0) return std::nullopt;  // a subquery
    if (w[i].call && kAggregates.count(w[i].text) != 0) return std::nullopt;
    if (w[i].depth != 0) continue;
    if (kRefused.count(w[i].text) != 0) return std::nullopt;
    if (w[i].text == "from") ++froms;
    if (w[i].text == "order" && i + 1 < w.size() && w[i + 1].text == "by") {
      if (froms != 1) return std::nullopt;
      ordered = true;
    } else if (ordered && (w[i].text == "where" || w[i].text == "from")) {
      return std::nullopt;
    }
  }
  if (froms != 1) return std::nullopt;
  return ordered;
}

}  // namespace

ColumnValueKind KindOfDeclaredType(std::string_view sqlite_declared_type) {
  const std::string type = Upper(sqlite_declared_type);
  if (Contains(type, "INT")) return ColumnValueKind::kInteger;
  if (Contains(type, "CHAR") || Contains(type, "CLOB") ||
      Contains(type, "TEXT")) {
    return ColumnValueKind::kText;
  }
  if (Contains(type, "BLOB") || type.empty()) return ColumnValueKind::kText;
  if (Contains(type, "REAL") || Contains(type, "FLOA") ||
      Contains(type, "DOUB")) {
    return ColumnValueKind::kReal;
  }
  if (Contains(type, "BOOL")) return ColumnValueKind::kBoolean;
  return ColumnValueKind::kNumeric;
}

std::string PostgresType(ColumnValueKind kind) {
  switch (kind) {
    case ColumnValueKind::kInteger:
      return "bigint";
    case ColumnValueKind::kBoolean:
      return "boolean";
    case ColumnValueKind::kReal:
      return "double precision";
    case ColumnValueKind::kNumeric:
      return "numeric";
    case ColumnValueKind::kText:
      break;
  }
  return "bpchar COLLATE \"C\"";
}

std::string PostgresName(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    const char written =
        IsPlainIdentifier(name)
            ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
            : c;
    quoted += written;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string PostgresCreateTable(std::string_view table,
                                const std::vector<PostgresColumn>& columns) {
  std::string statement = "CREATE TABLE " + PostgresName(table) + " (";
  const char* separator = "\n  ";
  for (const PostgresColumn& column : columns) {
    statement +=
        separator + PostgresName(column.name) + " " + PostgresType(column.kind);
    separator = ",\n  ";
  }
  return statement + "\n)";
}

namespace {

// "select distinct COLUMNS from ..." over one table, without an ORDER BY,
// where COLUMNS are plain column names: the columns and the text from the
// table on. nullopt for any other text.
struct DistinctSelect {
  std::string columns;
  std::string from_on;
};

std::optional<DistinctSelect> PlainDistinctSelect(std::string_view sql) {
  const QueryShape shape = ShapeOf(sql);
  const std::vector<Word>& w = shape.words;
  if (w.size() < 4 || w[0].text != "select" || w[1].text != "distinct") {
    return std::nullopt;
  }
  // Without its DISTINCT the text must be a plain single-table select.
  std::string lower(sql);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  const size_t start = lower.find_first_not_of(" \t\r\n");
  if (start == std::string::npos || lower.compare(start, 6, "select") != 0) {
    return std::nullopt;
  }
  const size_t distinct = lower.find("distinct", start);
  const size_t after = distinct + sizeof("distinct") - 1;
  const std::string without =
      std::string(sql.substr(0, distinct)) + std::string(sql.substr(after));
  const std::optional<bool> ordered = SingleTableSelect(ShapeOf(without));
  if (!ordered || *ordered) return std::nullopt;
  const size_t from = lower.find(" from ", after);
  if (from == std::string::npos) return std::nullopt;
  DistinctSelect select;
  select.columns = vb::Trim(sql.substr(after, from - after));
  if (select.columns.empty()) return std::nullopt;
  for (char c : select.columns) {
    const bool plain = std::isalnum(static_cast<unsigned char>(c)) ||
                       c == '_' || c == ',' || c == ' ';
    if (!plain) return std::nullopt;
  }
  select.from_on = std::string(sql.substr(from + sizeof(" from ") - 1));
  return select;
}

}  // namespace

std::string KeepPostgresStorageOrder(std::string_view sql) {
  if (const std::optional<DistinctSelect> d = PlainDistinctSelect(sql)) {
    // Each value where it first appears, as SQLite returns a DISTINCT
    // without an index; PostgreSQL would give the order of its hash or
    // sort.
    return "SELECT " + d->columns + " FROM (SELECT DISTINCT ON (" + d->columns +
           ") " + d->columns + ", ctid AS mx_first_row FROM " + d->from_on +
           " ORDER BY " + d->columns +
           ", ctid) AS mx_distinct ORDER BY mx_first_row";
  }
  const std::optional<bool> ordered = SingleTableSelect(ShapeOf(sql));
  if (!ordered) return std::string(sql);
  const size_t end = sql.find_last_not_of(" \t\r\n");
  const std::string body(sql.substr(0, end + 1));
  const std::string tail(sql.substr(end + 1));
  return body + (*ordered ? ", ctid" : " ORDER BY ctid") + tail;
}

const std::vector<std::string>& PostgresSessionStatements() {
  static const std::vector<std::string> statements = {
      "SET max_parallel_workers_per_gather = 0",
      "SET synchronize_seqscans = off"};
  return statements;
}

const std::vector<std::string>& PostgresSupportStatements() {
  static const std::vector<std::string> statements = BuildSupportStatements();
  return statements;
}

namespace {

// The terms of an index key, split at its top-level commas.
std::vector<std::string> KeyTerms(std::string_view key) {
  std::vector<std::string> terms;
  int depth = 0;
  std::string term;
  for (char c : key) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      terms.push_back(vb::Trim(term));
      term.clear();
    } else {
      term += c;
    }
  }
  terms.push_back(vb::Trim(term));
  return terms;
}

// The column names a key term reads: its words outside quotes, but for the
// names of the functions it calls ("upper" in "upper(flno)").
std::vector<std::string> TermColumns(std::string_view term) {
  std::vector<std::string> names;
  bool quoted = false;
  std::string word;
  const std::string text = std::string(term) + " ";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\'') quoted = !quoted;
    if (!quoted && IsWordChar(c)) {
      word += c;
      continue;
    }
    if (word.empty()) continue;
    const size_t next = text.find_first_not_of(' ', i);
    const bool called = next != std::string::npos && text[next] == '(';
    if (!called) names.push_back(vb::LCase(word));
    word.clear();
  }
  return names;
}

}  // namespace

std::vector<std::string> PostgresIndexStatements(
    const std::map<std::string, std::vector<std::string>>& columns_by_table) {
  std::map<std::string, std::vector<std::string>> tables;
  for (const auto& [table, columns] : columns_by_table) {
    std::vector<std::string>& lower = tables[vb::LCase(table)];
    for (const std::string& column : columns)
      lower.push_back(vb::LCase(column));
  }
  std::vector<std::string> statements;
  for (const LookupIndex& index : LookupIndexes()) {
    const auto table = tables.find(index.table);
    if (table == tables.end() ||
        index.key.find("COLLATE") != std::string::npos) {
      continue;
    }
    std::string key;
    bool complete = true;
    for (const std::string& term : KeyTerms(index.key)) {
      for (const std::string& column : TermColumns(term)) {
        complete =
            complete && std::find(table->second.begin(), table->second.end(),
                                  column) != table->second.end();
      }
      const bool expression = term.find("||") != std::string::npos;
      key += (key.empty() ? "" : ", ") + (expression ? "(" + term + ")" : term);
    }
    if (!complete) continue;
    statements.push_back("CREATE INDEX IF NOT EXISTS " + index.name + " ON " +
                         PostgresName(index.table) + " (" + key + ")");
  }
  return statements;
}

}  // namespace mx::repository
