// A form is analysed by adapting a query of the form whose literals are
// stand-ins: "\x01" + the literal's number + "\x02". The text of a form holds
// no "\x01" of its own, so every "\x01" in the adapted statement starts a
// stand-in, and a bound value that is a stand-in names its literal.
#include "repository/query_forms.h"

#include <array>
#include <variant>

#include "platform/encoding.h"
#include "repository/row_map_lookup.h"
#include "repository/row_order.h"
#include "repository/sql_parameters.h"
#include "repository/sqlite_connection.h"

namespace mx::repository {

namespace {

constexpr char kStandInStart = '\x01';
constexpr char kStandInEnd = '\x02';
// Where a literal stood, in the form of a query.
constexpr char kLiteralMark = kStandInStart;

std::string StandIn(size_t literal) {
  return kStandInStart + std::to_string(literal) + kStandInEnd;
}

// The literal a whole text stands in for, if it is a stand-in.
std::optional<size_t> StandInLiteral(std::string_view text) {
  if (text.size() < 3 || text.front() != kStandInStart ||
      text.back() != kStandInEnd) {
    return std::nullopt;
  }
  size_t literal = 0;
  for (char c : text.substr(1, text.size() - 2)) {
    if (c < '0' || c > '9') return std::nullopt;
    literal = literal * 10 + static_cast<size_t>(c - '0');
  }
  return literal;
}

// Splits a parameterised text at its stand-ins.
std::optional<std::vector<StatementForm::Piece>> PiecesOf(
    std::string_view text) {
  std::vector<StatementForm::Piece> pieces;
  for (;;) {
    const size_t start = text.find(kStandInStart);
    if (start == std::string_view::npos) {
      pieces.push_back({std::string(text), std::nullopt});
      return pieces;
    }
    const size_t end = text.find(kStandInEnd, start);
    if (end == std::string_view::npos) return std::nullopt;
    const std::optional<size_t> literal =
        StandInLiteral(text.substr(start, end + 1 - start));
    if (!literal) return std::nullopt;
    pieces.push_back({std::string(text.substr(0, start)), literal});
    text.remove_prefix(end + 1);
  }
}

// The form of one statement, given in SQLite text with stand-ins, as the
// SQLite connection prepares it: parameterised, and each scalar subquery
// with its storage order stated and parameterised in turn.
std::optional<StatementForm> StatementFormOf(const std::string& sqlite_text,
                                             const RowMaps* maps) {
  std::optional<ParameterisedSql> query = Parameterise(sqlite_text);
  if (!query) return std::nullopt;
  if (maps != nullptr) AddRowMapLookup(*maps, &*query);
  StatementForm form;
  auto pieces = PiecesOf(query->text);
  if (!pieces) return std::nullopt;
  form.pieces = *std::move(pieces);
  using Kind = StatementForm::Value::Kind;
  for (const auto& value : query->values) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      const std::optional<size_t> literal = StandInLiteral(*text);
      if (!literal) return std::nullopt;
      form.values.push_back({Kind::kLiteral, *literal, 0});
    } else if (const auto* number = std::get_if<int64_t>(&value)) {
      form.values.push_back({Kind::kNumber, 0, *number});
    } else {
      const auto& subquery = std::get<ScalarSubquery>(value);
      std::optional<StatementForm> inner =
          StatementFormOf(KeepStorageOrder(subquery.text), maps);
      if (!inner) return std::nullopt;
      form.subqueries.push_back(*std::move(inner));
      form.values.push_back({Kind::kSubquery, 0, 0});
    }
  }
  return form;
}

// Bytes that start a literal, or outside one may make a quote mean
// something else (a quoted name or a comment may hold one), or would be taken
// for a stand-in. Most bytes are none of these; a table finds them quickly.
bool MayBeSpecial(char c) {
  static constexpr auto kTable = [] {
    std::array<bool, 256> table{};
    for (char special : {'\'', '"', '`', '[', '-', '/', kStandInStart}) {
      table[static_cast<unsigned char>(special)] = true;
    }
    return table;
  }();
  return kTable[static_cast<unsigned char>(c)];
}

bool RefusedOutsideLiterals(std::string_view sql, size_t i) {
  const char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
  switch (sql[i]) {
    case '-':
      return next == '-';
    case '/':
      return next == '*';
    default:
      return true;  // a quoted name or a stand-in's mark
  }
}

}  // namespace

std::string StatementForm::Text(const QueryLiterals& literals) const {
  if (pieces.size() == 1) return pieces.front().text;
  std::string text;
  for (const Piece& piece : pieces) {
    text += piece.text;
    if (piece.literal) text += literals[*piece.literal];
  }
  return text;
}

bool SplitAtLiterals(std::string_view sql, SplitQuery* split) {
  split->form.clear();
  split->literals.clear();
  size_t copied = 0;  // the text before it is in the form already
  for (size_t i = 0; i < sql.size();) {
    while (i < sql.size() && !MayBeSpecial(sql[i])) ++i;
    if (i == sql.size()) break;
    if (sql[i] != '\'') {
      if (RefusedOutsideLiterals(sql, i)) return false;
      ++i;
      continue;
    }
    const size_t close = sql.find('\'', i + 1);
    // Unterminated, or a doubled quote inside.
    if (close == std::string_view::npos) return false;
    if (close + 1 < sql.size() && sql[close + 1] == '\'') return false;
    const std::string_view content = sql.substr(i + 1, close - i - 1);
    if (content.find('\0') != std::string_view::npos) return false;
    split->form.append(sql.substr(copied, i - copied));
    split->form += kLiteralMark;
    split->literals.push_back(content);
    i = copied = close + 1;
  }
  split->form.append(sql.substr(copied));
  return true;
}

std::optional<StatementForm> AnalyseForm(const SplitQuery& query,
                                         const RowMaps* maps) {
  std::string sql;  // a query of the form, with stand-ins for its literals
  size_t literal = 0;
  for (char c : query.form) {
    if (c == kLiteralMark) {
      sql += '\'' + StandIn(literal++) + '\'';
    } else {
      sql += c;
    }
  }
  return StatementFormOf(SqliteQueryText(sql), maps);
}

const StatementForm* QueryForms::Find(std::string_view component_sql,
                                      QueryLiterals* literals) {
  if (!SplitAtLiterals(component_sql, &split_)) return nullptr;
  Entry* entry;
  const auto found = by_form_.find(split_.form);
  if (found != by_form_.end()) {
    entries_.splice(entries_.begin(), entries_, found->second);
    entry = &*found->second;
  } else {
    if (entries_.size() >= kCapacity) {
      by_form_.erase(entries_.back().form);
      entries_.pop_back();
    }
    std::optional<StatementForm> statement = AnalyseForm(split_, maps_);
    entries_.push_front(Entry{split_.form, std::move(statement)});
    by_form_.emplace(entries_.front().form, entries_.begin());
    entry = &entries_.front();
  }
  if (!entry->statement) return nullptr;
  literals->resize(split_.literals.size());
  for (size_t i = 0; i < split_.literals.size(); ++i) {
    (*literals)[i] = Win1252ToUtf8(split_.literals[i]);
  }
  return &*entry->statement;
}

void QueryForms::Refuse(std::string_view component_sql) {
  if (!SplitAtLiterals(component_sql, &split_)) return;
  const auto found = by_form_.find(split_.form);
  if (found != by_form_.end()) found->second->statement.reset();
}

}  // namespace mx::repository
