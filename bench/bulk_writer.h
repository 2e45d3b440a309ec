// Fills a new SQLite repository file fast for the benchmark: the shipped
// schema, rows inserted through kept prepared statements inside one
// transaction, and the lookup indexes created after the rows (one sort per
// index instead of a b-tree insert per row), with no ANALYZE, as a
// repository made with "repo init" and then loaded.
#ifndef MX_BENCH_BULK_WRITER_H_
#define MX_BENCH_BULK_WRITER_H_

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace mx::bench {

// A column value: null, a number or a text.
using Value = std::variant<std::monostate, int64_t, std::string>;

// `value` in decimal, zero-padded on the left to `width` digits.
std::string Digits(int64_t value, int width);

class BulkWriter {
 public:
  // Creates PATH (it must not exist) with the schema and starts the
  // transaction. Throws std::runtime_error.
  explicit BulkWriter(const std::string& path);
  ~BulkWriter();
  BulkWriter(const BulkWriter&) = delete;
  BulkWriter& operator=(const BulkWriter&) = delete;

  // INSERT INTO table (columns) VALUES (values).
  void Insert(const std::string& table, const std::string& columns,
              const std::vector<Value>& values);

  // Creates the indexes and commits.
  void Finish();

 private:
  void Exec(const std::string& sql);
  sqlite3_stmt* StatementFor(const std::string& table,
                             const std::string& columns, size_t count);

  sqlite3* db_ = nullptr;
  std::vector<std::pair<std::string, sqlite3_stmt*>> statements_;
};

}  // namespace mx::bench

#endif  // MX_BENCH_BULK_WRITER_H_
