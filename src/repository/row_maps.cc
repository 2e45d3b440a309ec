#include "repository/row_maps.h"

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <utility>

#include "repository/sqlite_handles.h"

namespace mx::repository {

namespace {

// The keys, by table; a table's keys in the order a query's conditions are
// tried on them (the one that names the most terms first). Terms are
// separated by ";", a term's parts by "||"; a quoted part is a literal text.
struct KeyDefinition {
  const char* table;
  const char* terms;
  const char* replaces;
};
constexpr KeyDefinition kKeys[] = {
    // A table's fields, and one field of a table (the field list and the
    // index parts).
    {"qxddi150", "appl; cpac; cmod; flno", "flno, cmod, cpac, appl"},
    // The fields of tables named by their joined code.
    {"qxddi150", "appl; cpac||cmod||flno", "cpac||cmod||flno, appl"},
    // A field named by its qualified name (the domain of a field).
    {"qxddi150", "appl; cpac||cmod||flno||'.'||fdnm",
     "cpac||cmod||flno||'.'||fdnm, appl"},
    // A conversion object's dump rules. The profile number is left out: it
    // is compared as a number, and the query's own condition checks it.
    {"qxmap140", "vers; rele; cust; tcpac; tcmod; tflno",
     "tflno, tcmod, tcpac, mprf, vers, rele, cust"},
    // A legacy file's layout, and its fields named by file name alone.
    {"qxlgy150", "appl; cpac; cmod; flno", "flno, cmod, cpac, appl"},
    {"qxlgy150", "appl; flno", "flno, cmod, cpac, appl"},
    // A legacy file named in any case.
    {"qxlgy150", "appl; upper(flno)", "upper(flno), appl"},
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitAt(std::string_view text,
                                      std::string_view separator) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const size_t at = text.find(separator);
    pieces.push_back(Trimmed(text.substr(0, at)));
    if (at == std::string_view::npos) return pieces;
    text.remove_prefix(at + separator.size());
  }
}

RowMapKey ParseKey(const KeyDefinition& definition) {
  RowMapKey key{definition.table, {}, definition.replaces};
  for (std::string_view term : SplitAt(definition.terms, ";")) {
    RowMapKey::Term parts;
    for (std::string_view part : SplitAt(term, "||")) {
      const bool literal = part.size() >= 2 && part.front() == '\'';
      const bool upper = part.starts_with("upper(") && part.ends_with(")");
      if (literal) part = part.substr(1, part.size() - 2);
      if (upper) part = part.substr(6, part.size() - 7);
      parts.push_back({literal, std::string(part), upper});
    }
    key.terms.push_back(std::move(parts));
  }
  return key;
}

// A term's text as both collations the maps serve see it.
uint64_t TermHash(std::string_view joined) {
  while (!joined.empty() && joined.back() == ' ') joined.remove_suffix(1);
  return std::hash<std::string_view>{}(joined);
}

uint64_t Combined(uint64_t hash, uint64_t term) {
  return hash ^ (term + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2));
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// SQLite's rule for the affinity of a declared type, for text affinity.
bool HasTextAffinity(const char* declared_type) {
  if (declared_type == nullptr) return false;
  const std::string type = Upper(declared_type);
  if (type.find("INT") != std::string::npos) return false;
  return type.find("CHAR") != std::string::npos ||
         type.find("CLOB") != std::string::npos ||
         type.find("TEXT") != std::string::npos;
}

bool ComparesAsMapped(sqlite3* db, const std::string& table,
                      const std::string& column) {
  const char* declared_type = nullptr;
  const char* collation = nullptr;
  if (sqlite3_table_column_metadata(db, "main", table.c_str(), column.c_str(),
                                    &declared_type, &collation, nullptr,
                                    nullptr, nullptr) != SQLITE_OK) {
    return false;
  }
  const std::string sequence = collation ? Upper(collation) : "BINARY";
  return HasTextAffinity(declared_type) &&
         (sequence == "BINARY" || sequence == "RTRIM");
}

SqliteStatement Prepared(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return nullptr;
  }
  return SqliteStatement(raw);
}

// A table (not a view) with rowids, none of whose columns takes a name of
// the rowid from it.
bool HasOwnRowids(sqlite3* db, const std::string& table) {
  if (!Prepared(
          db, "SELECT rowid FROM main." + QuotedSqlName(table) + " LIMIT 0")) {
    return false;
  }
  SqliteStatement columns =
      Prepared(db, "SELECT lower(name) FROM pragma_table_info(?1, 'main')");
  if (!columns) return false;
  sqlite3_bind_text(columns.get(), 1, table.data(),
                    static_cast<int>(table.size()), SQLITE_TRANSIENT);
  int rc;
  while ((rc = sqlite3_step(columns.get())) == SQLITE_ROW) {
    const std::string_view name(
        reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0)),
        static_cast<size_t>(sqlite3_column_bytes(columns.get(), 0)));
    if (name == "rowid" || name == "oid" || name == "_rowid_") return false;
  }
  return rc == SQLITE_DONE;
}

}  // namespace

const std::vector<RowMapKey>& RowMapKeys() {
  static const std::vector<RowMapKey> keys = [] {
    std::vector<RowMapKey> parsed;
    for (const KeyDefinition& definition : kKeys) {
      parsed.push_back(ParseKey(definition));
    }
    return parsed;
  }();
  return keys;
}

namespace {

// A key's terms with their columns numbered as the read statement gives
// them (from 1; 0 for a literal).
struct ReadTerm {
  std::vector<int> columns;
  std::vector<const std::string*> literals;  // where columns[i] == 0
  std::vector<bool> upper;
};

bool HasUpper(const RowMapKey& key) {
  for (const RowMapKey::Term& term : key.terms) {
    for (const RowMapKey::Part& part : term) {
      if (part.upper) return true;
    }
  }
  return false;
}

// Whether upper() on `db` changes ASCII letters alone, as Upper() does.
bool UpperIsAscii(sqlite3* db) {
  SqliteStatement check =
      Prepared(db, "SELECT upper('a\xc3\xa9z') = 'A\xc3\xa9Z'");
  return check && sqlite3_step(check.get()) == SQLITE_ROW &&
         sqlite3_column_int(check.get(), 0) == 1;
}

// A column's value in the current row: null, or its bytes.
struct Value {
  bool null;
  std::string_view bytes;
};

// The hash of a key of the current row; false when a term is null (it
// equals nothing, and the row is not in the key's map).
bool KeyHash(const std::vector<ReadTerm>& terms,
             const std::vector<Value>& values, std::string* joined,
             uint64_t* hash) {
  *hash = 0;
  for (const ReadTerm& term : terms) {
    if (term.columns.size() == 1 && term.columns[0] != 0 && !term.upper[0]) {
      const Value& value = values[static_cast<size_t>(term.columns[0])];
      if (value.null) return false;
      *hash = Combined(*hash, TermHash(value.bytes));
      continue;
    }
    joined->clear();
    for (size_t i = 0; i < term.columns.size(); ++i) {
      if (term.columns[i] == 0) {
        *joined += *term.literals[i];
        continue;
      }
      const Value& value = values[static_cast<size_t>(term.columns[i])];
      if (value.null) return false;
      if (term.upper[i]) {
        *joined += Upper(value.bytes);
      } else {
        joined->append(value.bytes);
      }
    }
    *hash = Combined(*hash, TermHash(*joined));
  }
  return true;
}

}  // namespace

std::optional<RowMaps::TableMaps> RowMaps::Read(sqlite3* db,
                                                std::string_view table_name) {
  const std::string table(table_name);
  std::vector<size_t> keys;
  std::vector<std::string> columns;  // of the keys, each once
  const bool ascii_upper = UpperIsAscii(db);
  for (size_t key = 0; key < RowMapKeys().size(); ++key) {
    if (RowMapKeys()[key].table != table) continue;
    if (HasUpper(RowMapKeys()[key]) && !ascii_upper) continue;
    keys.push_back(key);
    for (const RowMapKey::Term& term : RowMapKeys()[key].terms) {
      for (const RowMapKey::Part& part : term) {
        if (!part.literal && std::find(columns.begin(), columns.end(),
                                       part.text) == columns.end()) {
          columns.push_back(part.text);
        }
      }
    }
  }
  if (keys.empty() || !HasOwnRowids(db, table)) return std::nullopt;
  for (const std::string& column : columns) {
    if (!ComparesAsMapped(db, table, column)) return std::nullopt;
  }

  std::string sql = "SELECT rowid";
  for (const std::string& column : columns) sql += ", " + QuotedSqlName(column);
  SqliteStatement rows =
      Prepared(db, sql + " FROM main." + QuotedSqlName(table));
  if (!rows) return std::nullopt;
  std::vector<std::vector<ReadTerm>> key_terms;
  for (size_t key : keys) {
    std::vector<ReadTerm> terms;
    for (const RowMapKey::Term& term : RowMapKeys()[key].terms) {
      ReadTerm read;
      for (const RowMapKey::Part& part : term) {
        const auto column =
            std::find(columns.begin(), columns.end(), part.text);
        read.columns.push_back(
            part.literal ? 0 : static_cast<int>(column - columns.begin()) + 1);
        read.literals.push_back(&part.text);
        read.upper.push_back(part.upper);
      }
      terms.push_back(std::move(read));
    }
    key_terms.push_back(std::move(terms));
  }

  std::vector<std::vector<KeyMap::Entry>> entries(keys.size());
  std::vector<int64_t> rowids;
  std::vector<Value> values(columns.size() + 1);
  std::string joined;
  sqlite3_stmt* statement = rows.get();
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    const int64_t rowid = sqlite3_column_int64(statement, 0);
    rowids.push_back(rowid);
    for (size_t c = 1; c < values.size(); ++c) {
      const int column = static_cast<int>(c);
      const auto* text =
          reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      values[c].null = text == nullptr;
      values[c].bytes = {
          text == nullptr ? "" : text,
          static_cast<size_t>(sqlite3_column_bytes(statement, column))};
    }
    for (size_t k = 0; k < keys.size(); ++k) {
      uint64_t hash;
      if (KeyHash(key_terms[k], values, &joined, &hash)) {
        entries[k].push_back({hash, rowid});
      }
    }
  }
  if (rc != SQLITE_DONE) return std::nullopt;

  TableMaps maps;
  maps.table = table;
  for (size_t k = 0; k < keys.size(); ++k) {
    maps.keys.emplace_back(keys[k], KeyMap(std::move(entries[k])));
  }
  // The scan gives a table's rows in rowid order.
  if (!std::is_sorted(rowids.begin(), rowids.end())) {
    std::sort(rowids.begin(), rowids.end());
  }
  maps.rowids = std::move(rowids);
  return maps;
}

void RowMaps::Add(TableMaps maps) {
  for (auto& [key, map] : maps.keys) by_key_.emplace(key, std::move(map));
  rowids_by_table_[maps.table] = std::move(maps.rowids);
}

RowMaps::KeyMap::KeyMap(std::vector<Entry> entries)
    : entries_(std::move(entries)) {
  // Rows were added in rowid order: a stable sort by hash keeps them so
  // within a hash.
  std::stable_sort(
      entries_.begin(), entries_.end(),
      [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
  // About one row per bucket.
  int bits = 1;
  while (bits < 24 && (size_t{1} << bits) < entries_.size()) ++bits;
  shift_ = 64 - bits;
  bucket_starts_.assign((size_t{1} << bits) + 1, 0);
  for (const Entry& entry : entries_)
    ++bucket_starts_[(entry.hash >> shift_) + 1];
  for (size_t b = 1; b < bucket_starts_.size(); ++b) {
    bucket_starts_[b] += bucket_starts_[b - 1];
  }
}

void RowMaps::KeyMap::Find(uint64_t hash, std::vector<int64_t>* rowids) const {
  const size_t bucket = hash >> shift_;
  for (uint32_t i = bucket_starts_[bucket]; i < bucket_starts_[bucket + 1];
       ++i) {
    if (entries_[i].hash == hash) rowids->push_back(entries_[i].rowid);
  }
}

bool RowMaps::HasTable(std::string_view table) const {
  return rowids_by_table_.count(std::string(table)) != 0;
}

bool RowMaps::HasKey(size_t key) const { return by_key_.count(key) != 0; }

bool RowMaps::Replaces(std::string_view table, std::string_view terms) const {
  for (const auto& [key, map] : by_key_) {
    const RowMapKey& definition = RowMapKeys()[key];
    if (definition.table == table && definition.replaces == terms) return true;
  }
  return false;
}

bool RowMaps::Find(size_t key, const std::vector<std::string_view>& literals,
                   const std::vector<std::string_view>& leading,
                   const std::vector<std::string_view>& last,
                   std::vector<int64_t>* rowids) const {
  rowids->clear();
  const auto map = by_key_.find(key);
  if (map == by_key_.end()) return false;
  const RowMapKey& definition = RowMapKeys()[key];

  size_t literal = 0;
  bool same_literals = true;
  for (const RowMapKey::Term& term : definition.terms) {
    for (const RowMapKey::Part& part : term) {
      if (!part.literal) continue;
      same_literals = same_literals && literal < literals.size() &&
                      literals[literal].data() != nullptr &&
                      literals[literal] == part.text;
      ++literal;
    }
  }
  if (!same_literals || literal != literals.size() ||
      leading.size() + 1 != definition.terms.size()) {
    *rowids = rowids_by_table_.at(definition.table);
    return true;
  }

  uint64_t prefix = 0;
  for (std::string_view term : leading) {
    if (term.data() == nullptr) return true;
    prefix = Combined(prefix, TermHash(term));
  }
  for (std::string_view alternative : last) {
    if (alternative.data() == nullptr) continue;
    map->second.Find(Combined(prefix, TermHash(alternative)), rowids);
  }
  if (last.size() > 1) {
    std::sort(rowids->begin(), rowids->end());
    rowids->erase(std::unique(rowids->begin(), rowids->end()), rowids->end());
  }
  return true;
}

}  // namespace mx::repository
