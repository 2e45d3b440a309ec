// Which wrappers a generator object's runs read through: the data-dictionary
// class answers a repeated query from its read cache, the legacy class sends
// every query on (its objects read rows of their own) but keeps the run's
// copy of the repository, and --no-cache leaves both classes with the
// repository alone.
#include <memory>
#include <string>

#include "context/connection_source.h"
#include "context/generator_context.h"
#include "gtest/gtest.h"
#include "testing/fake_connection.h"

namespace mx {
namespace {

constexpr char kQuery[] = "select pprf from qxmap101 where mprf = 1";

// The repository the factory opened last; owned by the connection source.
testing::FakeConnection* opened = nullptr;

std::unique_ptr<repository::Connection> OpenFake(const std::string&) {
  auto fake = std::make_unique<testing::FakeConnection>();
  fake->Answer(kQuery, testing::Rows({"pprf"}, {{int64_t{2}}}));
  opened = fake.get();
  return fake;
}

// Sends kQuery twice inside one run; returns how many reached the repository.
size_t QueriesReachingTheRepository(GeneratorContext& ctx) {
  ctx.connections.set_factory(&OpenFake);
  const ConnectionSource::RunScope run(ctx.connections);
  for (int n = 0; n < 2; ++n) {
    repository::Recordset rs = ctx.Query(kQuery);
    EXPECT_EQ(rs.Fields("pprf").ToText(), "2");
  }
  return opened->sent().size();
}

TEST(ConnectionReuse, DataDictionaryRunsAnswerRepeatsFromTheCache) {
  GeneratorContext ctx(GeneratorKind::kDataDictionary);
  EXPECT_EQ(QueriesReachingTheRepository(ctx), 1u);
  EXPECT_NE(ctx.connections.cache(), nullptr);
  EXPECT_NE(ctx.connections.snapshot(), nullptr);
}

TEST(ConnectionReuse, LegacyRunsSendEveryQueryAndKeepTheCopy) {
  GeneratorContext ctx(GeneratorKind::kLegacy);
  EXPECT_EQ(QueriesReachingTheRepository(ctx), 2u);
  EXPECT_EQ(ctx.connections.cache(), nullptr);
  EXPECT_NE(ctx.connections.snapshot(), nullptr);
}

TEST(ConnectionReuse, WithoutTheCacheEitherClassHasTheRepositoryAlone) {
  for (GeneratorKind kind :
       {GeneratorKind::kDataDictionary, GeneratorKind::kLegacy}) {
    GeneratorContext ctx(kind);
    ctx.connections.set_cache_enabled(false);
    EXPECT_EQ(QueriesReachingTheRepository(ctx), 2u);
    EXPECT_EQ(ctx.connections.cache(), nullptr);
    EXPECT_EQ(ctx.connections.snapshot(), nullptr);
  }
}

}  // namespace
}  // namespace mx
