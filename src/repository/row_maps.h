// Maps of the run's copy of the repository from a lookup's key to the rows
// that may hold it: what the copy has instead of an SQLite index on the
// tables that grow with the profile (a row per field, per rule or per file
// column). SQLite builds an index at about a microsecond a row on one
// processor, most of it making and comparing the keys; one pass over a
// table's rows fills every map of the table in a fraction of that.
//
// A map holds, for each row, a hash of its key. Each term of a key is a
// column, or columns and texts joined as `||` joins them, and is hashed
// with its trailing blanks cut: byte order and the RTRIM collation both
// find two texts equal only when they are equal once cut. So the rows a map
// gives for a key are every row whose terms equal it, and maybe a few more.
// A query that asks a map (row_map_lookup.h) keeps every condition of its
// own, and they decide. A table gets its maps only where that reasoning
// holds: a real table with rowids, and every column of its keys holding
// texts (text affinity) compared in byte order or ignoring trailing blanks.
// Otherwise it gets SQLite indexes as before. A key with upper(column) is
// mapped only where SQLite's upper() changes ASCII letters alone (as it
// does without ICU), which the map does too.
//
// Built on one thread; then read-only, shared by the connections of the
// copy on every thread.
#ifndef MX_REPOSITORY_ROW_MAPS_H_
#define MX_REPOSITORY_ROW_MAPS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;

namespace mx::repository {

// One key of a table that the copy maps.
struct RowMapKey {
  struct Part {
    bool literal;        // a text joined in, or else a column
    std::string text;    // the literal's content, or the column's name
    bool upper = false;  // the column as upper() gives it
  };
  using Term = std::vector<Part>;  // the parts, joined with ||

  std::string table;
  std::vector<Term> terms;
  // The copy index (CopyIndexes() of schema.h, by its terms) the maps of
  // the table stand in for.
  std::string replaces;
};

// Every key the copy maps, numbered by their place here.
const std::vector<RowMapKey>& RowMapKeys();

class RowMaps {
 public:
  // The maps of one table's keys.
  class TableMaps;

  // Reads the maps of every key of `table` from `db`, in its current
  // transaction; any thread may read a table, each with a connection of its
  // own. nullopt when the table does not qualify (see above) or cannot be
  // read.
  static std::optional<TableMaps> Read(sqlite3* db, std::string_view table);
  void Add(TableMaps maps);

  // Whether the maps of `table` were added.
  bool HasTable(std::string_view table) const;
  // Whether key number `key` has its map.
  bool HasKey(size_t key) const;
  // Whether a copy index (`table`, `terms`) is stood in for by maps added.
  bool Replaces(std::string_view table, std::string_view terms) const;

  // The rowids, ascending and once each, of the rows of key number `key`
  // whose terms may equal `leading` followed by one of `last` (the last
  // term's alternatives). `literals` are the texts the query joins where
  // the key has literal parts, in order: when one differs from the key's,
  // the map cannot tell and every row of the table is given. A null term
  // (nullptr data) matches no row. False when key `key` has no map.
  bool Find(size_t key, const std::vector<std::string_view>& literals,
            const std::vector<std::string_view>& leading,
            const std::vector<std::string_view>& last,
            std::vector<int64_t>* rowids) const;

  // One key's map: (hash, rowid) pairs sorted, and where each bucket of
  // hashes (their top bits) starts among them.
  class KeyMap {
   public:
    struct Entry {
      uint64_t hash;
      int64_t rowid;
    };
    explicit KeyMap(std::vector<Entry> entries);
    // Appends the rowids of the rows whose key has `hash`, ascending.
    void Find(uint64_t hash, std::vector<int64_t>* rowids) const;

   private:
    std::vector<Entry> entries_;
    std::vector<uint32_t> bucket_starts_;
    int shift_;
  };

 private:
  std::unordered_map<size_t, KeyMap> by_key_;
  // Every rowid of each mapped table, ascending.
  std::unordered_map<std::string, std::vector<int64_t>> rowids_by_table_;
};

class RowMaps::TableMaps {
 public:
  std::string table;
  std::vector<std::pair<size_t, KeyMap>> keys;  // by key number
  std::vector<int64_t> rowids;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_ROW_MAPS_H_
