// The SQLite schema of every repository table the component reads, and the
// creation of an empty repository file.
#ifndef MX_REPOSITORY_SCHEMA_H_
#define MX_REPOSITORY_SCHEMA_H_

#include <string>

namespace mx::repository {

// The CREATE TABLE statements, text columns COLLATE RTRIM.
const std::string& SqliteSchema();

// Creates FILE with the schema; raises VbError when the file exists already
// or cannot be created.
void CreateSqliteRepository(const std::string& path_utf8);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SCHEMA_H_
