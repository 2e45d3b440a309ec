// Copying a server's repository tables into the run's copy of the
// repository (snapshot_database.h). One thread reads the tables through
// cursors of the session's transaction, a batch of rows a round trip, and
// converts each batch into what the copy binds; the calling thread writes
// the batches into the copy in the order read and builds each table's
// lookup indexes as soon as its rows are in, while the tables after it are
// still being read. Between the two, converted batches wait in a queue of
// bounded size. The first failure of either side stops both and is raised
// once both have stopped.
#ifndef MX_REPOSITORY_ODBC_TABLE_COPY_H_
#define MX_REPOSITORY_ODBC_TABLE_COPY_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "repository/odbc_api.h"
#include "repository/snapshot_database.h"

namespace mx::repository::odbc {

// A table to copy: its name, its columns as the copy declares them, and
// the bytes it takes on the server (as its catalog says).
struct ServerTable {
  std::string name;
  std::vector<SnapshotDatabase::Column> columns;
  int64_t bytes = 0;
};

// Runs a statement on the session as it stands, counted as sent; the
// statement, ready to fetch from.
using SendStatement = std::function<Handle(const std::string&)>;

// The tables in the order they go into the copy: those whose indexes take
// longest to build first, so that the indexes of each are built while the
// tables after it are read, and the last tables read have few or none.
std::vector<ServerTable> InCopyOrder(std::vector<ServerTable> tables);

// Each of `tables` read whole in storage order (the session must scan a
// table from its first page to its last) into a table of `snapshot` of the
// same name, with its lookup indexes. `send` runs each statement on
// `session`; one statement at a time is sent.
void CopyServerTables(Session& session, const SendStatement& send,
                      const std::vector<ServerTable>& tables,
                      SnapshotDatabase& snapshot);

}  // namespace mx::repository::odbc

#endif  // MX_REPOSITORY_ODBC_TABLE_COPY_H_
