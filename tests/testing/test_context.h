// A data-dictionary generator context for unit tests: a fake repository, a
// log collected in memory and a fixed clock.
#ifndef MX_TESTS_TESTING_TEST_CONTEXT_H_
#define MX_TESTS_TESTING_TEST_CONTEXT_H_

#include <memory>

#include "interface/generator_context.h"
#include "platform/clock.h"
#include "testing/fake_connection.h"

namespace mx::testing {

struct TestContext {
  explicit TestContext(GeneratorKind kind = GeneratorKind::kDataDictionary)
      : ctx(kind), clock("2026-01-02 03:04:05") {
    auto connection = std::make_unique<FakeConnection>();
    repo = connection.get();
    ctx.settings.connection_string = "Data Source=fake";
    ctx.connections.Adopt(ctx.settings.connection_string,
                          std::move(connection));
    log = std::make_shared<StringTextStream>();
    ctx.log = log;
    ctx.clock = &clock;
  }

  GeneratorContext ctx;
  FixedClock clock;
  FakeConnection* repo;
  std::shared_ptr<StringTextStream> log;
};

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_TEST_CONTEXT_H_
