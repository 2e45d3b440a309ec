// A generator context for unit tests: a fake repository, a log collected in
// memory and a fixed clock. `ctx` is what a document builder receives, over
// the document state `doc`; `object` is the generator object's whole state.
#ifndef MX_TESTS_TESTING_TEST_CONTEXT_H_
#define MX_TESTS_TESTING_TEST_CONTEXT_H_

#include <memory>

#include "context/build_context.h"
#include "context/generator_context.h"
#include "platform/clock.h"
#include "testing/fake_connection.h"

namespace mx::testing {

struct TestContext {
  explicit TestContext(GeneratorKind kind = GeneratorKind::kDataDictionary)
      : object(kind),
        ctx(object.settings, doc, object, object.reporter),
        clock("2026-01-02 03:04:05") {
    auto connection = std::make_unique<FakeConnection>();
    repo = connection.get();
    object.settings.connection_string = "Data Source=fake";
    object.connections.Adopt(object.settings.connection_string,
                             std::move(connection));
    log = std::make_shared<StringTextStream>();
    object.reporter.set_log(log);
    object.clock = &clock;
  }

  // Starts the next document on a fresh state, as the run does.
  void NewDocument() { doc = DocumentState(); }

  GeneratorContext object;
  DocumentState doc;
  BuildContext ctx;
  FixedClock clock;
  FakeConnection* repo;
  std::shared_ptr<StringTextStream> log;
};

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_TEST_CONTEXT_H_
