// The SQLite schema of every repository table the component reads, and the
// creation of an empty repository file.
#ifndef MX_REPOSITORY_SCHEMA_H_
#define MX_REPOSITORY_SCHEMA_H_

#include <string>
#include <vector>

namespace mx::repository {

// The CREATE TABLE statements, text columns COLLATE RTRIM.
const std::string& SqliteSchema();

// The CREATE INDEX IF NOT EXISTS statements that let every query of a run
// find its rows without reading a growing table whole. They may be run on a
// repository created before they existed.
const std::string& SqliteIndexes();

// The tables the component reads, in the order of the schema.
const std::vector<std::string>& RepositoryTables();

// One of the lookup indexes: its name, its table and its terms as SQL.
struct LookupIndex {
  std::string name;
  std::string table;
  std::string key;
};
const std::vector<LookupIndex>& LookupIndexes();

// The indexes a run builds on its own copy of the repository: every lookup
// of LookupIndexes() served, by indexes that are cheaper to build.
const std::vector<LookupIndex>& CopyIndexes();

// Creates FILE with the schema and its indexes; raises VbError when the file
// exists already or cannot be created.
void CreateSqliteRepository(const std::string& path_utf8);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SCHEMA_H_
