// The indexes against the queries a run really sends: the demo run is traced,
// and every traced query, in the form SQLite is given it (dialect rewrite,
// storage order, values as parameters), must find its rows through an index:
// EXPLAIN QUERY PLAN may not show a SCAN of a repository table. The same
// queries must return the same rows in the same order as on a repository
// without indexes, also when the rows are stored in reverse order, so that
// index order and storage order differ. And the form of each query must give
// the statement its own adaptation gives.
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "cli/demo_repository.h"
#include "context/generator_context.h"
#include "gtest/gtest.h"
#include "movx20xmlgen/cls_xml_generator.h"
#include "movx20xmlgen/cls_xml_legacy.h"
#include "movx20xmlgen/error.h"
#include "movx20xmlgen/text_stream.h"
#include "repository/query_form_check.h"
#include "repository/query_forms.h"
#include "repository/query_trace.h"
#include "repository/row_map_lookup.h"
#include "repository/row_map_module.h"
#include "repository/row_maps.h"
#include "repository/row_order.h"
#include "repository/schema.h"
#include "repository/sql_parameters.h"
#include "repository/sqlite_connection.h"
#include "repository/sqlite_script.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

// A read-write handle on a repository file, closed at the end.
class Database {
 public:
  explicit Database(const std::string& path) {
    EXPECT_EQ(
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
  }
  ~Database() { sqlite3_close_v2(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << message;
    }
    sqlite3_free(message);
  }

  // The first column of every row.
  std::vector<std::string> Column(const std::string& sql) {
    std::vector<std::string> values;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) !=
        SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
      return values;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(statement, 0);
      values.emplace_back(
          text == nullptr ? "" : reinterpret_cast<const char*>(text));
    }
    sqlite3_finalize(statement);
    return values;
  }

  sqlite3* handle() { return db_; }

  // The detail column of EXPLAIN QUERY PLAN.
  std::vector<std::string> Plan(const std::string& sql) {
    std::vector<std::string> details;
    sqlite3_stmt* statement = nullptr;
    const std::string explain = "EXPLAIN QUERY PLAN " + sql;
    if (sqlite3_prepare_v2(db_, explain.c_str(), -1, &statement, nullptr) !=
        SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
      return details;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
      details.emplace_back(
          reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)));
    }
    sqlite3_finalize(statement);
    return details;
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string DemoRepository(const testing::TempDir& tmp) {
  const std::string path = tmp / "demo.sqlite";
  repository::CreateSqliteRepository(path);
  repository::ExecuteSqliteScript(path, cli::DemoRepositoryScript());
  return path;
}

// The queries of a trace file, in the order they were sent.
std::vector<std::string> ReadTrace(const std::string& trace_file) {
  std::ifstream in(trace_file, std::ios::binary);
  std::vector<std::string> queries;
  for (std::string line; std::getline(in, line);) {
    std::optional<std::string> sql = repository::UnescapeTraceLine(line);
    EXPECT_TRUE(sql.has_value()) << line;
    if (sql) queries.push_back(*sql);
  }
  return queries;
}

// Runs the demo generation (the demo command's settings) with a trace, once
// as the demo runs and once with the row-size lines and an explicit list, so
// that the trace holds every kind of query a data-dictionary run sends.
std::vector<std::string> TracedDemoQueries(const std::string& repo,
                                           const testing::TempDir& tmp) {
  const std::string trace_file = tmp / "trace.txt";
  {
    auto trace = std::make_shared<repository::QueryTrace>(trace_file);
    for (bool second : {false, true}) {
      ClsXMLGenerator generator;
      generator.context().connections.set_trace(trace);
      generator.putref_LogFileName(std::make_shared<StringTextStream>());
      generator.put_ConnectionString("Data Source=" + repo);
      generator.put_MigrationProfile(cli::kDemoProfile);
      generator.put_XMLPath(tmp / (second ? "xml2" : "xml1"));
      generator.put_ClearXMLDirectory(true);
      if (second) {
        generator.put_ListOfMappingObjectsSelected(
            "tcitm001,tcitm002,tcord006");
        generator.put_Include2GBCheck(true);
      } else {
        generator.put_PackageFrom("tc");
        generator.put_ModuleFrom("itm");
        generator.put_TableFrom("000");
        generator.put_PackageTo("tc");
        generator.put_ModuleTo("ord");
        generator.put_TableTo("999");
      }
      generator.put_XMLGenerationOption(All);
      EXPECT_TRUE(generator.GenerateXMLFile())
          << generator.get_ErrorDescription();
    }
    trace->Close();
  }
  return ReadTrace(trace_file);
}

// Runs the demo's legacy generation with a trace: the per-object lookups of
// legacy tables and files, their fields, connections and layouts.
std::vector<std::string> TracedLegacyDemoQueries(const std::string& repo,
                                                 const testing::TempDir& tmp) {
  const std::string trace_file = tmp / "legacy-trace.txt";
  {
    auto trace = std::make_shared<repository::QueryTrace>(trace_file);
    ClsXMLLegacy generator;
    generator.context().connections.set_trace(trace);
    generator.putref_LogFileName(std::make_shared<StringTextStream>());
    generator.put_ConnectionString("Data Source=" + repo);
    generator.put_MigrationProfile(cli::kDemoLegacyProfile);
    generator.put_XMLPath(tmp / "legacy");
    generator.put_SchemaINIPath(tmp / "legacy");
    generator.put_ClearXMLDirectory(true);
    generator.put_PackageFrom("tc");
    generator.put_ModuleFrom("cus");
    generator.put_TableFrom("000");
    generator.put_PackageTo("tc");
    generator.put_ModuleTo("cus");
    generator.put_TableTo("999");
    EXPECT_TRUE(generator.GenerateXMLFile())
        << generator.get_ErrorDescription();
    trace->Close();
  }
  return ReadTrace(trace_file);
}

// The SQLite texts the connection prepares for a query: its parameterised
// form and the forms of its scalar subqueries, which run on their own; the
// text as it stands when it has no parameterised form.
// With `maps`, the statements that read through a map of the run's copy.
void AddForms(const std::string& text, const repository::RowMaps* maps,
              std::vector<std::string>* forms) {
  auto parameterised = repository::Parameterise(text);
  if (!parameterised) {
    forms->push_back(text);
    return;
  }
  if (maps != nullptr) repository::AddRowMapLookup(*maps, &*parameterised);
  forms->push_back(parameterised->text);
  for (const auto& value : parameterised->values) {
    if (const auto* subquery =
            std::get_if<repository::ScalarSubquery>(&value)) {
      AddForms(repository::KeepStorageOrder(subquery->text), maps, forms);
    }
  }
}

std::vector<std::string> FormsOf(const std::string& sql,
                                 const repository::RowMaps* maps = nullptr) {
  std::vector<std::string> forms;
  AddForms(repository::SqliteQueryText(sql), maps, &forms);
  return forms;
}

// "SCAN qxddi150" or "SCAN qxddi150 USING INDEX ...": the whole table or the
// whole index is read. "SCAN CONSTANT ROW" and subquery scans read no table.
// A SEARCH on the application alone ("(appl=?)") reads every row of the
// application, which is as bad.
bool ReadsWholeTable(const std::string& detail,
                     const std::set<std::string>& tables) {
  std::istringstream words(detail);
  std::string verb, name;
  words >> verb >> name;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  if (tables.count(name) == 0) return false;
  if (verb == "SCAN") return true;
  return verb == "SEARCH" && detail.ends_with("(appl=?)");
}

// The row-size query joins the fields of a table to their domains with
// qxddi150.cdom = qxddi220.cpac||qxddi220.cdom. SQLite (3.40) does not use an
// expression index when a column of text affinity is compared with a
// concatenation, so each field reads the domains of its application. The
// query runs only with the row-size lines, once per source table.
bool IsRowSizeDomainLookup(const std::string& detail, const std::string& sql) {
  return sql.find("From QXDDI150, QXDDI220") != std::string::npos &&
         detail.rfind("SEARCH QXDDI220 ", 0) == 0;
}

// A query that sorts its rows. The selection of a run's tables may sort
// (once per run), and so may a query over several source tables at once
// (their rows interleave in storage order); the lists a document reads per
// table (fields, indexes, rules, dumps) come in order from their indexes.
bool SortsPerTable(const std::string& detail, const std::string& form,
                   const std::string& sql) {
  return detail.rfind("USE TEMP B-TREE", 0) == 0 &&
         sql.find("qxddi140") == std::string::npos &&
         sql.find("QXDDI150, QXDDI220") == std::string::npos &&
         form.find("in (? ,") == std::string::npos;
}

// Calls check(detail, form, sql) for every line of the plan of every form of
// the queries, each form once; returns the number of forms.
template <typename Check>
size_t CheckPlans(Database& db, const std::vector<std::string>& queries,
                  Check check, const repository::RowMaps* maps = nullptr) {
  std::set<std::string> checked;
  for (const std::string& sql : queries) {
    for (const std::string& form : FormsOf(sql, maps)) {
      if (!checked.insert(form).second) continue;
      for (const std::string& detail : db.Plan(form)) check(detail, form, sql);
    }
  }
  return checked.size();
}

TEST(QueryPlanTest, EveryQueryOfTheDemoRunFindsItsRowsThroughAnIndex) {
  testing::TempDir tmp;
  const std::string repo = DemoRepository(tmp);
  const std::vector<std::string> queries = TracedDemoQueries(repo, tmp);
  ASSERT_GT(queries.size(), 50u);

  Database db(repo);
  const std::vector<std::string> names =
      db.Column("SELECT name FROM sqlite_master WHERE type = 'table'");
  const std::set<std::string> tables(names.begin(), names.end());
  ASSERT_EQ(tables.size(), 22u);

  CheckPlans(db, queries,
             [&](const std::string& detail, const std::string& form,
                 const std::string& sql) {
               if (IsRowSizeDomainLookup(detail, sql)) return;
               EXPECT_FALSE(ReadsWholeTable(detail, tables))
                   << detail << "\n  " << form;
               EXPECT_FALSE(SortsPerTable(detail, form, sql))
                   << detail << "\n  " << form;
             });
}

// The legacy run reads the legacy tables (qxlgy140, qxlgy141, qxlgy150) for
// every object, several times; the profile, the conversion codes and the
// lookup application once per run.
TEST(QueryPlanTest, LegacyLookupsFindTheirRowsThroughAnIndex) {
  testing::TempDir tmp;
  const std::string repo = DemoRepository(tmp);
  const std::vector<std::string> queries = TracedLegacyDemoQueries(repo, tmp);
  const std::set<std::string> per_object = {
      "qxlgy140", "qxlgy141", "qxlgy150", "qxmap120", "qxmap130", "qxmap140",
      "qxmap160", "qxmap170", "qxddi150", "qxddi200", "qxddi220"};
  Database db(repo);
  CheckPlans(db, queries,
             [&](const std::string& detail, const std::string& form,
                 const std::string&) {
               EXPECT_FALSE(ReadsWholeTable(detail, per_object))
                   << detail << "\n  " << form;
             });
  // Field lists of targets and sources, expansions of "*", split fields.
  EXPECT_GT(std::count_if(queries.begin(), queries.end(),
                          [](const std::string& sql) {
                            return sql.find("qxlgy150") != std::string::npos;
                          }),
            5);
}

TEST(QueryPlanTest, EachQueryOfTheDemoRunGetsTheStatementOfItsOwnForm) {
  testing::TempDir tmp;
  const std::string repo = DemoRepository(tmp);
  const std::vector<std::string> queries = TracedDemoQueries(repo, tmp);
  repository::QueryForms forms;
  size_t with_form = 0;
  for (const std::string& sql : queries) {
    bool has_form = false;
    EXPECT_TRUE(
        repository::testing::FormGivesOwnAdaptation(forms, sql, &has_form));
    with_form += has_form ? 1 : 0;
  }
  // Nearly all queries are of a form; the others are adapted as they stand.
  EXPECT_GT(with_form, queries.size() * 9 / 10);
}

// Every table of `from`, its rows stored in reverse order, into `to`.
void CopyReversed(const std::string& from, const std::string& to) {
  repository::CreateSqliteRepository(to);
  Database db(to);
  db.Exec("ATTACH DATABASE '" + from + "' AS source");
  for (const std::string& table :
       db.Column("SELECT name FROM main.sqlite_master WHERE type = 'table'")) {
    db.Exec("INSERT INTO main." + table + " SELECT * FROM source." + table +
            " ORDER BY rowid DESC");
  }
  db.Exec("DETACH DATABASE source");
}

void DropIndexes(const std::string& path) {
  Database db(path);
  for (const std::string& index :
       db.Column("SELECT name FROM sqlite_master WHERE type = 'index' AND name "
                 "LIKE 'mx\\_%' ESCAPE '\\'")) {
    db.Exec("DROP INDEX " + index);
  }
}

// The indexes of a run's own copy of the repository instead of ours.
void UseCopyIndexes(const std::string& path) {
  DropIndexes(path);
  Database db(path);
  for (const repository::LookupIndex& index : repository::CopyIndexes()) {
    db.Exec("CREATE INDEX " + index.name + " ON " + index.table + " (" +
            index.key + ")");
  }
}

std::string Rows(repository::Connection& connection, const std::string& sql) {
  try {
    const repository::ResultSet result = connection.Execute(sql);
    std::string text;
    for (const std::string& column : result.columns) text += column + "|";
    for (const auto& row : result.rows) {
      text += "\n";
      for (const Variant& value : row) {
        text += value.IsNull() ? "<null>" : value.ToText();
        text += "|";
      }
    }
    return text;
  } catch (const VbError& e) {
    return "error " + std::to_string(e.number()) + ": " + e.description();
  }
}

// The rows of every query, on a copy of `repo` with its rows stored in
// reverse order, with and without the indexes. Returns the number of queries
// with several rows.
size_t ExpectSameRowsWithoutIndexes(const std::string& repo,
                                    const std::vector<std::string>& queries,
                                    const testing::TempDir& tmp) {
  const std::string indexed = tmp / "reversed.sqlite";
  CopyReversed(repo, indexed);
  const std::string plain = tmp / "plain.sqlite";
  fs::copy_file(indexed, plain);
  DropIndexes(plain);
  const std::string copy_indexed = tmp / "copy-indexed.sqlite";
  fs::copy_file(plain, copy_indexed);
  UseCopyIndexes(copy_indexed);
  EXPECT_TRUE(Database(plain)
                  .Column("SELECT name FROM sqlite_master WHERE "
                          "type = 'index'")
                  .empty());

  auto with_indexes = repository::SqliteConnection::Open(indexed);
  auto without_indexes = repository::SqliteConnection::Open(plain);
  auto with_copy_indexes = repository::SqliteConnection::Open(copy_indexed);
  // The run's own copy of the file without indexes, with its maps.
  auto copied = repository::SqliteConnection::Open(plain);
  copied->BeginReadScope();
  std::unique_ptr<repository::Connection> run_copy = copied->TakeSnapshot();
  size_t with_several_rows = 0;
  for (const std::string& sql : queries) {
    const std::string expected = Rows(*without_indexes, sql);
    EXPECT_EQ(Rows(*with_indexes, sql), expected) << sql;
    EXPECT_EQ(Rows(*with_copy_indexes, sql), expected) << sql;
    EXPECT_EQ(Rows(*run_copy, sql), expected) << sql;
    if (std::count(expected.begin(), expected.end(), '\n') > 1) {
      ++with_several_rows;
    }
  }
  return with_several_rows;
}

TEST(QueryPlanTest, IndexesChangeNeitherTheRowsNorTheirOrder) {
  testing::TempDir tmp;
  const std::string repo = DemoRepository(tmp);
  const std::vector<std::string> queries = TracedDemoQueries(repo, tmp);
  // The demo stores several rows of one key and in-lists in key order;
  // reversed, index order and storage order part.
  EXPECT_GT(ExpectSameRowsWithoutIndexes(repo, queries, tmp), 10u);
}

TEST(QueryPlanTest, LegacyIndexesChangeNeitherTheRowsNorTheirOrder) {
  testing::TempDir tmp;
  const std::string repo = DemoRepository(tmp);
  const std::vector<std::string> queries = TracedLegacyDemoQueries(repo, tmp);
  // Field lists of several fields, by sequence and by storage order.
  EXPECT_GT(ExpectSameRowsWithoutIndexes(repo, queries, tmp), 5u);
}

// A run's copy of a repository has lookups of its own, cheaper to build:
// maps of the tables that grow with the profile, indexes of the others. It
// may sort an object's rows, but no lookup of either class reads a table
// that grows with the profile from end to end.
TEST(QueryPlanTest, TheRunsCopyFindsEveryLookupThroughItsOwnLookups) {
  testing::TempDir tmp;
  const std::string repo = DemoRepository(tmp);
  std::vector<std::string> queries = TracedDemoQueries(repo, tmp);
  const std::vector<std::string> legacy = TracedLegacyDemoQueries(repo, tmp);
  queries.insert(queries.end(), legacy.begin(), legacy.end());
  const std::string copy = tmp / "copy-indexed.sqlite";
  fs::copy_file(repo, copy);
  DropIndexes(copy);
  auto maps = std::make_shared<repository::RowMaps>();
  {
    Database db(copy);
    for (const char* table : {"qxddi150", "qxmap140", "qxlgy150"}) {
      auto read = repository::RowMaps::Read(db.handle(), table);
      ASSERT_TRUE(read.has_value()) << table;
      maps->Add(*std::move(read));
    }
    for (const repository::LookupIndex& index : repository::CopyIndexes()) {
      if (maps->Replaces(index.table, index.key)) continue;
      db.Exec("CREATE INDEX " + index.name + " ON " + index.table + " (" +
              index.key + ")");
    }
  }

  const std::set<std::string> per_object = {
      "qxlgy140", "qxlgy141", "qxlgy150", "qxmap120", "qxmap130",
      "qxmap140", "qxmap160", "qxmap170", "qxddi150", "qxddi160",
      "qxddi200", "qxddi220", "qxddi230"};
  Database db(copy);
  ASSERT_TRUE(repository::RegisterRowMapModule(db.handle(), maps));
  size_t through_maps = 0;
  const size_t forms = CheckPlans(
      db, queries,
      [&](const std::string& detail, const std::string& form,
          const std::string& sql) {
        if (IsRowSizeDomainLookup(detail, sql)) return;
        EXPECT_FALSE(ReadsWholeTable(detail, per_object))
            << detail << "\n  " << form;
        if (detail.rfind("SCAN mx_rows_m VIRTUAL TABLE", 0) == 0) {
          ++through_maps;
        }
      },
      maps.get());
  EXPECT_GT(forms, 30u);
  EXPECT_GT(through_maps, 5u);
}

}  // namespace
}  // namespace mx
