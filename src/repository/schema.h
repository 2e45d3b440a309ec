// The SQLite schema of every repository table the component reads, and the
// creation of an empty repository file.
#ifndef MX_REPOSITORY_SCHEMA_H_
#define MX_REPOSITORY_SCHEMA_H_

#include <string>

namespace mx::repository {

// The CREATE TABLE statements, text columns COLLATE RTRIM.
const std::string& SqliteSchema();

// The CREATE INDEX IF NOT EXISTS statements that let every query of a run
// find its rows without reading a growing table whole. They may be run on a
// repository created before they existed.
const std::string& SqliteIndexes();

// Creates FILE with the schema and its indexes; raises VbError when the file
// exists already or cannot be created.
void CreateSqliteRepository(const std::string& path_utf8);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SCHEMA_H_
