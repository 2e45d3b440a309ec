// The run's own copy of a repository: an SQLite database in a temporary
// file of the run's own (readable by its owner only, removed when the
// database is closed), whose pages SQLite keeps in memory up to a bound
// (kCacheBytes); SQLite's private temporary database when no such file can
// be made. A backend fills it (a page copy of
// an SQLite file, or tables written row by row in the repository's order),
// the lookups are added (maps of the tables that grow with the profile,
// row_maps.h, and indexes of the others), and the embedded backend's
// connection reads it. Nothing here touches the repository itself.
#ifndef MX_REPOSITORY_SNAPSHOT_DATABASE_H_
#define MX_REPOSITORY_SNAPSHOT_DATABASE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "repository/connection.h"
#include "repository/row_maps.h"

struct sqlite3;
struct sqlite3_stmt;

namespace mx::repository {

class SnapshotDatabase {
 public:
  static constexpr size_t kCacheBytes = size_t{64} << 20;
  // While the lookup indexes are built: the page cache, which bounds the
  // sorted runs of index keys, and the threads that may sort them.
  static constexpr size_t kSortRunBytes = size_t{1} << 20;
  static constexpr int kSortThreads = 4;

  // Raises -2147467259 when no temporary database can be had.
  SnapshotDatabase();
  ~SnapshotDatabase();
  SnapshotDatabase(const SnapshotDatabase&) = delete;
  SnapshotDatabase& operator=(const SnapshotDatabase&) = delete;

  // Every page of the open SQLite database `source` (its tables, indexes and
  // rowids), as the source's open read transaction sees it.
  void CopyPagesOf(sqlite3* source);

  struct Column {
    std::string name;           // UTF-8
    std::string declared_type;  // SQLite type and collation, e.g. "TEXT
                                // COLLATE RTRIM"
  };
  // A table whose rows are then added in order (rowid 1, 2, ...).
  void CreateTable(std::string_view name, const std::vector<Column>& columns);

  // Adds rows to a table made by CreateTable: bind every column, then
  // Insert.
  class RowWriter {
   public:
    RowWriter(SnapshotDatabase& database, std::string_view table,
              size_t columns);
    ~RowWriter();
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // Columns count from 0. A text is read where it stands when the row is
    // inserted: it must stay until Insert() returns.
    void BindNull(size_t column);
    void BindInteger(size_t column, int64_t value);
    void BindReal(size_t column, double value);
    void BindText(size_t column, std::string_view utf8);
    void Insert();

   private:
    SnapshotDatabase& database_;
    sqlite3_stmt* statement_ = nullptr;
  };

  // The lookups of a run's copy on `table`: the maps of its keys
  // (row_maps.h) where the table qualifies for them, and the indexes of
  // CopyIndexes() (schema.h) that no map stands in for, each where the
  // table has its columns (an index that cannot be made is left out:
  // queries still get every row, only slower). A table's lookups can be
  // built once its rows are in, before the next table is filled.
  void AddLookupIndexesOf(std::string_view table);
  // Every lookup of the run's copy not built yet, as above. Then the
  // database is read-only to its connection.
  void AddLookupIndexes();

  // The database as a connection of the embedded backend, inside a read
  // scope of its own; the connection owns the database from then on.
  std::unique_ptr<Connection> Connect();

 private:
  void Run(const std::string& sql);
  void BeginIfNeeded();
  // The maps and indexes of `table`, or of every table when empty.
  void BuildIndexes(std::string_view table);
  // The maps of `table` (of every table when empty) not tried yet.
  void AddMaps(std::string_view table);
  bool NamesTheMapFunction();
  std::optional<RowMaps::TableMaps> ReadMapsApart(
      const std::string& table) const;
  [[noreturn]] void Fail(const std::string& what);

  std::string path_;       // the temporary file; empty: SQLite's private one
  sqlite3* db_ = nullptr;  // owned until Connect
  std::shared_ptr<RowMaps> maps_ = std::make_shared<RowMaps>();
  std::set<std::string> maps_tried_;  // tables whose maps were read
  bool rows_written_ = false;         // by CreateTable and RowWriter
  bool in_transaction_ = false;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SNAPSHOT_DATABASE_H_
