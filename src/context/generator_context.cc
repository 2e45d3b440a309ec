#include "context/generator_context.h"

namespace mx {

GeneratorContext::GeneratorContext(GeneratorKind kind)
    : reporter(kind), env(Env::Default()), clock(nullptr) {
  static SystemClock system_clock;
  clock = &system_clock;
}

repository::Recordset GeneratorContext::Query(const std::string& sql) {
  return repository::Recordset(connections.Get(settings.connection_string),
                               sql);
}

}  // namespace mx
