#include "context/generator_context.h"

#include <algorithm>
#include <thread>

#include "movx20xmlgen/error.h"

namespace mx {

namespace {

// The end of the quoted literal that holds position `at`: its closing
// quote (a doubled quote is a quote inside it), or the end of the query.
size_t LiteralEnd(const std::string& sql, size_t at) {
  for (size_t i = at; i < sql.size(); ++i) {
    if (sql[i] != '\'') continue;
    if (i + 1 < sql.size() && sql[i + 1] == '\'') {
      ++i;
      continue;
    }
    return i;
  }
  return sql.size() - 1;
}

// The quoted literal around position `at` of a query, NUL shown as "\0".
std::string LiteralAround(const std::string& sql, size_t at) {
  const size_t open = sql.rfind('\'', at);
  const size_t first = open == std::string::npos ? at : open;
  const size_t last = LiteralEnd(sql, at);
  std::string literal;
  for (char c : sql.substr(first, last - first + 1)) {
    if (c == '\0') {
      literal += "\\0";
    } else {
      literal += c;
    }
  }
  return literal;
}

// A query is text, and no database reads a NUL inside a text: the query
// would end there. A repository value that holds one fails the query with
// an error that shows the value, never a query cut short.
repository::Recordset QueryChecked(repository::Connection& connection,
                                   const std::string& sql) {
  const size_t nul = sql.find('\0');
  if (nul != std::string::npos) {
    throw VbError(errors::kQueryRefused, "XML Generation",
                  "A repository value holding a NUL character cannot be "
                  "placed in a query: " +
                      LiteralAround(sql, nul));
  }
  return repository::Recordset(connection, sql);
}

int DefaultAheadThreads() {
  const int processors = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(processors - 1, 0, 3);
}

}  // namespace

GeneratorContext::GeneratorContext(GeneratorKind kind)
    : reporter(kind),
      env(Env::Default()),
      clock(nullptr),
      ahead_threads(DefaultAheadThreads()) {
  static SystemClock system_clock;
  clock = &system_clock;
  // A legacy object reads its own target table, source and rows: a run
  // repeats almost none of its queries.
  connections.set_reuse_results(kind != GeneratorKind::kLegacy);
}

repository::Recordset GeneratorContext::Query(const std::string& sql) {
  return QueryChecked(connections.Get(settings.connection_string), sql);
}

repository::Recordset ConnectionQueries::Query(const std::string& sql) {
  return QueryChecked(connection_, sql);
}

}  // namespace mx
