// A token-level reading of the outermost statement: literals and
// parenthesised parts are stepped over, so that only the top level of the
// WHERE clause decides. Anything not understood leaves the query unchanged.
#include "repository/row_map_lookup.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "repository/row_map_module.h"
#include "repository/sql_words.h"

namespace mx::repository {

namespace {

using sql::IsKeyword;
using sql::IsSpace;
using sql::IsWordByte;
using sql::IsWordStart;

struct Token {
  enum class Kind { kWord, kLiteral, kParameter, kSymbol };
  Kind kind;
  std::string_view text;
  size_t begin;        // in the query's text
  int depth;           // of parentheses around it ("(" and ")" count outside)
  int parameter = -1;  // the number of a "?", from 0

  bool IsWord(std::string_view keyword) const {
    return kind == Kind::kWord && IsKeyword(text, keyword);
  }
  bool IsSymbol(std::string_view symbol) const {
    return kind == Kind::kSymbol && text == symbol;
  }
};

std::optional<std::vector<Token>> Tokens(std::string_view sql) {
  std::vector<Token> tokens;
  int depth = 0;
  int parameters = 0;
  for (size_t i = 0; i < sql.size();) {
    const char c = sql[i];
    const char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
    if (IsSpace(c)) {
      ++i;
      continue;
    }
    const size_t begin = i;
    Token::Kind kind = Token::Kind::kSymbol;
    if (c == '\'') {
      // A doubled quote inside reads as part of the literal.
      for (++i;; i += 2) {
        i = sql.find('\'', i);
        if (i == std::string_view::npos) return std::nullopt;
        if (i + 1 >= sql.size() || sql[i + 1] != '\'') break;
      }
      ++i;
      kind = Token::Kind::kLiteral;
    } else if (c == '"' || c == '`' || c == '[' || c == ';' ||
               (c == '-' && next == '-') || (c == '/' && next == '*')) {
      return std::nullopt;  // quoted names, comments, several statements
    } else if (c == '?') {
      if (sql::IsDigit(next)) return std::nullopt;
      ++i;
      kind = Token::Kind::kParameter;
    } else if (IsWordByte(c)) {
      while (i < sql.size() && IsWordByte(sql[i])) ++i;
      kind = Token::Kind::kWord;
    } else if ((c == '|' && next == '|') || (c == '=' && next == '=') ||
               ((c == '<' || c == '>' || c == '!') && next == '=') ||
               (c == '<' && next == '>')) {
      i += 2;
    } else {
      ++i;
    }
    if (c == ')') --depth;
    if (depth < 0) return std::nullopt;
    Token token{kind, sql.substr(begin, i - begin), begin, depth};
    if (kind == Token::Kind::kParameter) token.parameter = parameters++;
    tokens.push_back(token);
    if (c == '(') ++depth;
  }
  if (depth != 0) return std::nullopt;
  return tokens;
}

// A condition `TERM = VALUE` or `TERM IN (?, ...)`: the term's parts
// (columns in lower case, literals as written) and the values it is
// compared with.
struct Condition {
  struct Part {
    bool literal;
    std::string text;
    bool upper;
  };
  std::vector<Part> parts;
  // What each compared value gives the map's function (see ValueAt).
  std::vector<std::string> values;
  bool is_list = false;
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// A column (qualified by one of `names`, or unqualified unless `qualified`
// is set) at `token`: the token after it, its name in lower case in `name`;
// nullptr when there is none.
const Token* ColumnAt(const Token* token, const Token* end,
                      const std::vector<std::string_view>& names,
                      bool qualified, std::string* name) {
  if (token == end || token->kind != Token::Kind::kWord ||
      !IsWordStart(token->text.front())) {
    return nullptr;
  }
  if (token + 1 != end && token[1].IsSymbol(".")) {
    bool named = false;
    for (std::string_view table : names) {
      named = named || IsKeyword(token->text, Lower(table));
    }
    if (!named || token + 2 == end || token[2].kind != Token::Kind::kWord) {
      return nullptr;
    }
    token += 2;
  } else if (qualified) {
    return nullptr;
  }
  *name = Lower(token->text);
  return token + 1;
}

// The parts of a term made of columns, upper(column) and literals joined
// with ||; nullopt for any other expression.
std::optional<std::vector<Condition::Part>> TermParts(
    const Token* token, const Token* end,
    const std::vector<std::string_view>& names, bool qualified) {
  std::vector<Condition::Part> parts;
  for (;;) {
    if (token == end) return std::nullopt;
    Condition::Part part{false, "", false};
    if (token->kind == Token::Kind::kLiteral) {
      part = {true, std::string(token->text), false};
      ++token;
    } else if (token->IsWord("upper") && token + 1 != end &&
               token[1].IsSymbol("(")) {
      token = ColumnAt(token + 2, end, names, qualified, &part.text);
      if (token == nullptr || token == end || !token->IsSymbol(")")) {
        return std::nullopt;
      }
      part.upper = true;
      ++token;
    } else {
      token = ColumnAt(token, end, names, qualified, &part.text);
      if (token == nullptr) return std::nullopt;
    }
    parts.push_back(std::move(part));
    if (token == end) return parts;
    if (!token->IsSymbol("||")) return std::nullopt;
    ++token;
  }
}

// What a compared value gives the map's function: a parameter (numbered),
// a literal, or upper() of either, as the query writes it; nullopt for
// anything else.
std::optional<std::string> ValueAt(const Token* token, const Token* end) {
  auto plain = [](const Token& value) -> std::optional<std::string> {
    if (value.kind == Token::Kind::kParameter) {
      return "?" + std::to_string(value.parameter + 1);
    }
    if (value.kind == Token::Kind::kLiteral) return std::string(value.text);
    return std::nullopt;
  };
  if (end - token == 1) return plain(*token);
  if (end - token == 4 && token[0].IsWord("upper") && token[1].IsSymbol("(") &&
      token[3].IsSymbol(")")) {
    const auto inner = plain(token[2]);
    if (inner) return "upper(" + *inner + ")";
  }
  return std::nullopt;
}

std::optional<Condition> ConditionOf(const Token* begin, const Token* end,
                                     const std::vector<std::string_view>& names,
                                     bool qualified) {
  const Token* compare = begin;
  while (compare != end &&
         !(compare->depth == begin->depth &&
           (compare->IsSymbol("=") || compare->IsSymbol("==") ||
            compare->IsWord("in")))) {
    ++compare;
  }
  if (compare == end) return std::nullopt;
  Condition condition;
  auto parts = TermParts(begin, compare, names, qualified);
  if (!parts) return std::nullopt;
  condition.parts = *std::move(parts);
  const Token* value = compare + 1;
  if (!compare->IsWord("in")) {
    auto compared = ValueAt(value, end);
    if (!compared) return std::nullopt;
    condition.values.push_back(*std::move(compared));
    return condition;
  }
  condition.is_list = true;
  if (value == end || !value->IsSymbol("(") || !end[-1].IsSymbol(")")) {
    return std::nullopt;
  }
  for (const Token* member = value + 1; member < end - 1; member += 2) {
    if (member->kind != Token::Kind::kParameter) return std::nullopt;
    condition.values.push_back("?" + std::to_string(member->parameter + 1));
    const Token* after = member + 1;
    if (after != end - 1 && !after->IsSymbol(",")) return std::nullopt;
  }
  if (condition.values.empty()) return std::nullopt;
  return condition;
}

bool SameTerm(const RowMapKey::Term& term, const Condition& condition) {
  if (term.size() != condition.parts.size()) return false;
  for (size_t i = 0; i < term.size(); ++i) {
    const Condition::Part& part = condition.parts[i];
    if (term[i].literal != part.literal || term[i].upper != part.upper) {
      return false;
    }
    if (!part.literal && term[i].text != part.text) return false;
  }
  return true;
}

// Words that take a statement out of the shape served, anywhere at its top
// level; and those that make AND mean something else in a WHERE clause.
bool RefusedAtTopLevel(const Token& token) {
  for (std::string_view word :
       {"group", "limit", "union", "having", "except", "intersect", "window",
        "offset", "join", "distinct", "values", "with"}) {
    if (token.IsWord(word)) return true;
  }
  return false;
}

bool RefusedInWhere(const Token& token) {
  return token.IsWord("or") || token.IsWord("between") || token.IsWord("case");
}

// A query of one table, or of two joined by a comma whose first is the one
// mapped: its conditions on that table then name it (or its alias), and
// the map joins before it with the second after them, in that order.
struct Shape {
  std::string_view table;
  size_t table_token;
  std::vector<std::string_view> names;  // the table's name and alias
  std::optional<size_t> comma;          // before the second table
  size_t where_begin;                   // the first token of the WHERE clause
  size_t where_end;                     // the token after it
};

std::optional<Shape> ShapeOf(const std::vector<Token>& tokens) {
  if (tokens.empty() || !tokens[0].IsWord("select")) return std::nullopt;
  size_t from = 1;
  for (; from < tokens.size(); ++from) {
    const Token& token = tokens[from];
    if (token.depth > 0) continue;
    if (RefusedAtTopLevel(token)) return std::nullopt;
    if (token.IsWord("from")) break;
  }
  if (from + 2 >= tokens.size()) return std::nullopt;
  Shape shape;
  shape.table = tokens[from + 1].text;
  shape.table_token = from + 1;
  if (tokens[from + 1].kind != Token::Kind::kWord) return std::nullopt;
  shape.names.push_back(shape.table);
  size_t where = from + 2;
  auto alias = [&] {
    if (where < tokens.size() && tokens[where].IsWord("as")) ++where;
    if (where < tokens.size() && tokens[where].kind == Token::Kind::kWord &&
        !tokens[where].IsWord("where")) {
      return tokens[where++].text;
    }
    return std::string_view();
  };
  if (const std::string_view name = alias(); !name.empty()) {
    shape.names.push_back(name);
  }
  if (where < tokens.size() && tokens[where].IsSymbol(",")) {
    shape.comma = where++;
    if (where >= tokens.size() || tokens[where].kind != Token::Kind::kWord) {
      return std::nullopt;
    }
    ++where;
    alias();
  }
  if (where >= tokens.size() || !tokens[where].IsWord("where")) {
    return std::nullopt;
  }
  shape.where_begin = where + 1;
  shape.where_end = tokens.size();
  for (size_t i = shape.where_begin; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    if (token.IsWord(kRowMapFunction)) return std::nullopt;
    if (token.depth > 0) continue;
    if (RefusedAtTopLevel(token)) return std::nullopt;
    if (token.IsWord("order")) {
      if (shape.where_end == tokens.size()) shape.where_end = i;
    } else if (shape.where_end == tokens.size() && RefusedInWhere(token)) {
      return std::nullopt;
    }
  }
  return shape;
}

std::vector<Condition> ConditionsOf(const std::vector<Token>& tokens,
                                    const Shape& shape) {
  std::vector<Condition> conditions;
  size_t begin = shape.where_begin;
  for (size_t i = begin; i <= shape.where_end; ++i) {
    if (i < shape.where_end &&
        !(tokens[i].depth == 0 && tokens[i].IsWord("and"))) {
      continue;
    }
    if (i > begin) {
      auto condition = ConditionOf(&tokens[begin], &tokens[0] + i, shape.names,
                                   shape.comma.has_value());
      if (condition) conditions.push_back(*std::move(condition));
    }
    begin = i + 1;
  }
  return conditions;
}

// The conditions, one for each term of key number `key`, in the key's order;
// only the last may be a list.
std::optional<std::vector<const Condition*>> ConditionsForKey(
    size_t key, const std::vector<Condition>& conditions) {
  const RowMapKey& definition = RowMapKeys()[key];
  std::vector<const Condition*> found;
  for (size_t t = 0; t < definition.terms.size(); ++t) {
    const bool last = t + 1 == definition.terms.size();
    const Condition* match = nullptr;
    for (const Condition& condition : conditions) {
      if ((!condition.is_list || last) &&
          SameTerm(definition.terms[t], condition)) {
        match = &condition;
        break;
      }
    }
    if (match == nullptr) return std::nullopt;
    found.push_back(match);
  }
  return found;
}

constexpr char kMapAlias[] = "mx_rows_m";

bool IsRowidWord(const Token& token) {
  return token.IsWord("rowid") || token.IsWord("oid") ||
         token.IsWord("_rowid_");
}

// The call of the map's function for key number `key` and its conditions:
// the literals the query joins, then the values compared (parameters
// numbered as in the query).
std::string MapCall(size_t key, const std::vector<const Condition*>& chosen,
                    int* arguments) {
  std::string call = std::string(kRowMapFunction) + "(" + std::to_string(key);
  *arguments = 1;
  for (const Condition* condition : chosen) {
    for (const Condition::Part& part : condition->parts) {
      if (!part.literal) continue;
      call += ", " + part.text;
      ++*arguments;
    }
  }
  for (const Condition* condition : chosen) {
    for (const std::string& value : condition->values) {
      call += ", " + value;
      ++*arguments;
    }
  }
  return call + ")";
}

}  // namespace

bool AddRowMapLookup(const RowMaps& maps, ParameterisedSql* query) {
  const std::optional<std::vector<Token>> tokens = Tokens(query->text);
  if (!tokens) return false;
  const std::optional<Shape> shape = ShapeOf(*tokens);
  if (!shape) return false;
  // A rowid named before the ORDER BY would name two tables' rowids; in a
  // join of two tables, a rowid anywhere already does.
  const size_t rowid_free = shape->comma ? tokens->size() : shape->where_end;
  for (size_t i = 0; i < rowid_free; ++i) {
    if (IsRowidWord((*tokens)[i])) return false;
  }
  const std::vector<Condition> conditions = ConditionsOf(*tokens, *shape);

  for (size_t key = 0; key < RowMapKeys().size(); ++key) {
    if (!IsKeyword(shape->table, RowMapKeys()[key].table) ||
        !maps.HasKey(key)) {
      continue;
    }
    const auto chosen = ConditionsForKey(key, conditions);
    if (!chosen) continue;
    int arguments = 0;
    const std::string call = MapCall(key, *chosen, &arguments);
    if (arguments > kRowMapArguments) return false;
    const std::string join = call + " AS " + kMapAlias + " CROSS JOIN ";
    const std::string condition = " AND " + std::string(shape->names.back()) +
                                  ".rowid = " + kMapAlias + "." + kRowMapRowid +
                                  " ";

    // The text again, token by token: the map joined before the table, its
    // condition last in the WHERE clause, the parameters numbered (the
    // call names them too) and the ORDER BY's rowid the map's.
    const std::string_view text = query->text;
    std::string out;
    size_t copied = 0;
    for (size_t i = 0; i < tokens->size(); ++i) {
      const Token& token = (*tokens)[i];
      out.append(text.substr(copied, token.begin - copied));
      if (i == shape->table_token) out += join;
      if (i == shape->where_end) out += condition;
      if (shape->comma == i) {
        out += " CROSS JOIN";
      } else if (token.kind == Token::Kind::kParameter) {
        out += "?" + std::to_string(token.parameter + 1);
      } else if (i > shape->where_end && IsRowidWord(token) &&
                 !(*tokens)[i - 1].IsSymbol(".")) {
        out += std::string(kMapAlias) + "." + kRowMapRowid;
      } else {
        out.append(token.text);
      }
      copied = token.begin + token.text.size();
    }
    if (shape->where_end == tokens->size()) out += condition;
    out.append(text.substr(copied));
    query->text = std::move(out);
    return true;
  }
  return false;
}

}  // namespace mx::repository
