#include "repository/row_map_module.h"

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace mx::repository {

namespace {

// Columns 0 to kRowMapArguments - 1 hold the arguments, the last one the
// rowids given. All are hidden, so that `*` in a query that joins the
// function names the columns of its table alone.
constexpr int kRowidColumn = kRowMapArguments;

std::string Declaration() {
  std::string sql = "CREATE TABLE x(";
  for (int i = 1; i <= kRowMapArguments; ++i) {
    sql += "mx_a" + std::to_string(i) + " HIDDEN, ";
  }
  return sql + std::string(kRowMapRowid) + " HIDDEN)";
}

struct Table {
  sqlite3_vtab base{};
  const RowMaps* maps = nullptr;
};

struct Cursor {
  sqlite3_vtab_cursor base{};
  std::vector<int64_t> rowids;
  size_t at = 0;
};

int Connect(sqlite3* db, void* maps, int, const char* const*,
            sqlite3_vtab** out, char**) {
  const int rc = sqlite3_declare_vtab(db, Declaration().c_str());
  if (rc != SQLITE_OK) return rc;
  auto* table = new Table;
  table->maps = static_cast<const std::shared_ptr<const RowMaps>*>(maps)->get();
  *out = &table->base;
  return SQLITE_OK;
}

int Disconnect(sqlite3_vtab* table) {
  delete reinterpret_cast<Table*>(table);
  return SQLITE_OK;
}

// Every argument given, as the call gives them (the first columns with no
// gap); the call cannot run otherwise.
int BestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
  int slots[kRowMapArguments];
  int given = 0;
  for (int& slot : slots) slot = -1;
  for (int i = 0; i < info->nConstraint; ++i) {
    const auto& constraint = info->aConstraint[i];
    if (constraint.iColumn < 0 || constraint.iColumn >= kRowidColumn ||
        constraint.op != SQLITE_INDEX_CONSTRAINT_EQ) {
      continue;
    }
    if (!constraint.usable) return SQLITE_CONSTRAINT;
    slots[constraint.iColumn] = i;
    given = std::max(given, constraint.iColumn + 1);
  }
  if (given == 0) return SQLITE_CONSTRAINT;
  for (int argument = 0; argument < given; ++argument) {
    if (slots[argument] < 0) return SQLITE_CONSTRAINT;
    info->aConstraintUsage[slots[argument]].argvIndex = argument + 1;
    info->aConstraintUsage[slots[argument]].omit = 1;
  }
  info->idxNum = given;
  info->estimatedCost = 10;
  info->estimatedRows = 10;
  if (info->nOrderBy == 1 && info->aOrderBy[0].iColumn == kRowidColumn &&
      !info->aOrderBy[0].desc) {
    info->orderByConsumed = 1;
  }
  return SQLITE_OK;
}

int Open(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
  *out = &(new Cursor)->base;
  return SQLITE_OK;
}

int Close(sqlite3_vtab_cursor* cursor) {
  delete reinterpret_cast<Cursor*>(cursor);
  return SQLITE_OK;
}

std::string_view TextOf(sqlite3_value* value) {
  if (sqlite3_value_type(value) == SQLITE_NULL) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
  if (text == nullptr) return {};
  return {text, static_cast<size_t>(sqlite3_value_bytes(value))};
}

int Fail(sqlite3_vtab_cursor* cursor, const char* message) {
  sqlite3_free(cursor->pVtab->zErrMsg);
  cursor->pVtab->zErrMsg = sqlite3_mprintf("%s: %s", kRowMapFunction, message);
  return SQLITE_ERROR;
}

int Filter(sqlite3_vtab_cursor* base, int, const char*, int argc,
           sqlite3_value** argv) {
  auto* cursor = reinterpret_cast<Cursor*>(base);
  const RowMaps& maps = *reinterpret_cast<Table*>(base->pVtab)->maps;
  cursor->rowids.clear();
  cursor->at = 0;
  if (argc < 2 || sqlite3_value_type(argv[0]) != SQLITE_INTEGER) {
    return Fail(base, "the first argument must be a key number");
  }
  const sqlite3_int64 key = sqlite3_value_int64(argv[0]);
  if (key < 0 || static_cast<size_t>(key) >= RowMapKeys().size()) {
    return Fail(base, "no such key");
  }
  const RowMapKey& definition = RowMapKeys()[static_cast<size_t>(key)];
  size_t literal_count = 0;
  for (const RowMapKey::Term& term : definition.terms) {
    for (const RowMapKey::Part& part : term) literal_count += part.literal;
  }
  const size_t leading_count = definition.terms.size() - 1;
  if (static_cast<size_t>(argc) < 2 + literal_count + leading_count) {
    return Fail(base, "too few arguments");
  }
  std::vector<std::string_view> literals, leading, last;
  int next = 1;
  for (size_t i = 0; i < literal_count; ++i) {
    literals.push_back(TextOf(argv[next++]));
  }
  for (size_t i = 0; i < leading_count; ++i) {
    leading.push_back(TextOf(argv[next++]));
  }
  while (next < argc) last.push_back(TextOf(argv[next++]));
  if (!maps.Find(static_cast<size_t>(key), literals, leading, last,
                 &cursor->rowids)) {
    return Fail(base, "the key has no map");
  }
  return SQLITE_OK;
}

int Next(sqlite3_vtab_cursor* base) {
  ++reinterpret_cast<Cursor*>(base)->at;
  return SQLITE_OK;
}

int Eof(sqlite3_vtab_cursor* base) {
  const auto* cursor = reinterpret_cast<Cursor*>(base);
  return cursor->at >= cursor->rowids.size();
}

int Column(sqlite3_vtab_cursor* base, sqlite3_context* context, int column) {
  const auto* cursor = reinterpret_cast<Cursor*>(base);
  if (column == kRowidColumn) {
    sqlite3_result_int64(context, cursor->rowids[cursor->at]);
  } else {
    sqlite3_result_null(context);
  }
  return SQLITE_OK;
}

int Rowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
  *rowid = static_cast<sqlite3_int64>(reinterpret_cast<Cursor*>(base)->at);
  return SQLITE_OK;
}

const sqlite3_module kModule = [] {
  sqlite3_module module{};
  module.iVersion = 0;
  module.xCreate = nullptr;  // eponymous only: no CREATE VIRTUAL TABLE
  module.xConnect = Connect;
  module.xBestIndex = BestIndex;
  module.xDisconnect = Disconnect;
  module.xDestroy = Disconnect;
  module.xOpen = Open;
  module.xClose = Close;
  module.xFilter = Filter;
  module.xNext = Next;
  module.xEof = Eof;
  module.xColumn = Column;
  module.xRowid = Rowid;
  return module;
}();

}  // namespace

bool RegisterRowMapModule(sqlite3* db, std::shared_ptr<const RowMaps> maps) {
  auto* kept = new std::shared_ptr<const RowMaps>(std::move(maps));
  // SQLite calls the destructor itself, also when registering fails.
  return sqlite3_create_module_v2(
             db, kRowMapFunction, &kModule, kept, [](void* data) {
               delete static_cast<std::shared_ptr<const RowMaps>*>(data);
             }) == SQLITE_OK;
}

}  // namespace mx::repository
