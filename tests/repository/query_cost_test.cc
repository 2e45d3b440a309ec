// What makes a query cheaper without changing its answer: the trace format,
// the run's read cache, values taken out as parameters, the storage order
// stated, the adaptation remembered per form of query, and the SQLite
// connection that reuses statements and runs scalar subqueries on their own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "repository/caching_connection.h"
#include "repository/query_form_check.h"
#include "repository/query_forms.h"
#include "repository/query_trace.h"
#include "repository/recordset.h"
#include "repository/row_order.h"
#include "repository/sql_parameters.h"
#include "repository/sqlite_connection.h"
#include "repository/temp_repository.h"
#include "testing/fake_connection.h"

namespace mx::repository {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::RaisedError;

TEST(QueryTraceTest, LinesKeepLineBreaksAndBackslashesApart) {
  const std::string sql = "select a\r\nfrom t where b = 'x\\y\\r' +\n'z'";
  const std::string line = EscapeTraceLine(sql);
  EXPECT_EQ(line, "select a\\r\\nfrom t where b = 'x\\\\y\\\\r' +\\n'z'");
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(UnescapeTraceLine(line), sql);
  EXPECT_EQ(UnescapeTraceLine("a\\tb"), std::nullopt);
  EXPECT_EQ(UnescapeTraceLine("ends in \\"), std::nullopt);
}

// A fake repository behind the cache; `repo` sees what gets through.
struct CacheFixture {
  explicit CacheFixture(
      size_t capacity = CachingConnection::kDefaultCapacityBytes) {
    auto fake = std::make_unique<mx::testing::FakeConnection>();
    repo = fake.get();
    cache = std::make_unique<CachingConnection>(std::move(fake), capacity);
    repo->Answer("q1", mx::testing::Rows({"a"}, {{"one"}}));
    repo->Answer("q2", mx::testing::Rows({"a"}, {{"two"}}));
    repo->Answer("q3", mx::testing::Rows({"a"}, {{"three"}}));
  }
  mx::testing::FakeConnection* repo;
  std::unique_ptr<CachingConnection> cache;
};

TEST(CachingConnectionTest, AnswersRepeatedTextsOnlyInsideAReadScope) {
  CacheFixture f;
  f.cache->Execute("q1");
  f.cache->Execute("q1");
  EXPECT_EQ(f.repo->sent().size(), 2u);  // no scope: every text goes through

  f.cache->BeginReadScope();
  const ResultSet first = f.cache->Execute("q1");
  const ResultSet again = f.cache->Execute("q1");
  EXPECT_EQ(f.repo->sent().size(), 3u);
  EXPECT_EQ(again.columns, first.columns);
  ASSERT_EQ(again.rows.size(), 1u);
  EXPECT_EQ(again.rows[0][0].ToText(), "one");
  EXPECT_EQ(f.cache->stats().hits, 1u);

  // A text differing in one byte is another query.
  EXPECT_THROW(f.cache->Execute("q1 "), VbError);
  f.cache->EndReadScope();
  f.cache->BeginReadScope();
  f.cache->Execute("q1");  // a new scope starts empty
  EXPECT_EQ(f.repo->sent().size(), 5u);
}

TEST(CachingConnectionTest, AFailedQueryFailsAgainTheSameWay) {
  CacheFixture f;
  f.cache->BeginReadScope();
  const VbError first = RaisedError([&] { f.cache->Execute("unknown"); });
  const VbError second = RaisedError([&] { f.cache->Execute("unknown"); });
  EXPECT_EQ(second.number(), first.number());
  EXPECT_EQ(second.description(), first.description());
  EXPECT_EQ(f.repo->sent().size(), 2u);
}

TEST(CachingConnectionTest, HandsOutTheKeptResultWithoutCopyingIt) {
  CacheFixture f;
  f.cache->BeginReadScope();
  const std::shared_ptr<const ResultSet> first = f.cache->ExecuteShared("q1");
  EXPECT_EQ(f.cache->ExecuteShared("q1"), first);
  const Recordset rs(*f.cache, "q1");
  EXPECT_EQ(rs.Fields("A").ToText(), "one");
  EXPECT_EQ(f.repo->sent().size(), 1u);
  f.cache->EndReadScope();
  // Whoever holds a result keeps it when the cache lets go of it.
  EXPECT_EQ(first->rows.at(0).at(0).ToText(), "one");
  EXPECT_NE(f.cache->ExecuteShared("q1"), first);
}

TEST(CachingConnectionTest, DropsTheLeastRecentlyUsedResultsPastItsBound) {
  // Room for two of the small results, not three.
  const size_t one =
      160 + 2 + EstimatedBytes(mx::testing::Rows({"a"}, {{"one"}}));
  CacheFixture f(2 * one + one / 2);
  f.cache->BeginReadScope();
  f.cache->Execute("q1");
  f.cache->Execute("q2");
  f.cache->Execute("q1");  // q2 is now the least recently used
  f.cache->Execute("q3");  // pushes q2 out
  EXPECT_LE(f.cache->stats().bytes, 2 * one + one / 2);
  f.cache->Execute("q1");
  f.cache->Execute("q2");
  EXPECT_THAT(f.repo->sent(), ElementsAre("q1", "q2", "q3", "q2"));
}

TEST(SqlParametersTest, TakesOutTheValuesComparedInTheWhereClause) {
  const auto p = Parameterise(
      "select 'a' || x, y = 'b' from t where c = 'it''s' and n=12 and d in "
      "('p' , 'q') and e between 'f' and 'g' and h || '.' || i = 'k' and "
      "UPPER(j) = UPPER('l') and m = 1.5");
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->text,
            "select 'a' || x, y = 'b' from t where c = ? and n=? and d in "
            "(? , ?) and e between ? and ? and h || '.' || i = ? and "
            "UPPER(j) = UPPER('l') and m = 1.5");
  ASSERT_EQ(p->values.size(), 7u);
  EXPECT_EQ(std::get<std::string>(p->values[0]), "it's");
  EXPECT_EQ(std::get<int64_t>(p->values[1]), 12);
  EXPECT_EQ(std::get<std::string>(p->values[6]), "k");
}

TEST(SqlParametersTest, TakesOutScalarSubqueriesWhole) {
  const auto p = Parameterise(
      "select x from t where a = 'b' and c || d = (select e from u where f "
      "= 'g(' and h = (select 1)) order by x");
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->text, "select x from t where a = ? and c || d = ? order by x");
  ASSERT_EQ(p->values.size(), 2u);
  EXPECT_EQ(std::get<ScalarSubquery>(p->values[1]).text,
            "select e from u where f = 'g(' and h = (select 1)");
}

TEST(SqlParametersTest, LeavesTextsWithParametersOrBrokenLiteralsAlone) {
  EXPECT_FALSE(Parameterise("select x from t where a = ?").has_value());
  EXPECT_FALSE(Parameterise("select x from t where a = :v").has_value());
  EXPECT_FALSE(Parameterise("select x from t where a = 'open").has_value());
}

TEST(RowOrderTest, StatesTheStorageOrderOfSingleTableQueries) {
  EXPECT_EQ(KeepStorageOrder("select * from t where a = 'x'  "),
            "select * from t where a = 'x' ORDER BY rowid  ");
  EXPECT_EQ(KeepStorageOrder("select a, b from t x order by b desc"),
            "select a, b from t x order by b desc, rowid");
  EXPECT_EQ(KeepStorageOrder("select a from t where b = (select c from u)"),
            "select a from t where b = (select c from u) ORDER BY rowid");
  for (const char* unchanged :
       {"select a from t, u where t.x = u.x", "select a from t join u",
        "select count(*) from t", "select distinct a from t",
        "select a from t group by a", "select a from t limit 3",
        "select a from t; select 1", "select a from t -- note",
        "select a from (select 1 as a)",
        "select a from t union select b from u"}) {
    EXPECT_EQ(KeepStorageOrder(unchanged), unchanged);
  }
}

TEST(QueryFormsTest, SplitsAQueryAtItsLiterals) {
  SplitQuery split;
  ASSERT_TRUE(SplitAtLiterals(
      "select a from t where b = 'x' and c = '' and d='it is'", &split));
  EXPECT_EQ(split.form,
            "select a from t where b = \x01 and c = \x01 and d=\x01");
  EXPECT_THAT(split.literals, ElementsAre("x", "", "it is"));
  // A quote inside a literal, a quote that may not start one, a literal
  // that does not end, a NUL byte a bound value would carry differently:
  // no form; the query is adapted as it stands.
  for (const std::string& no_form : std::vector<std::string>{
           "select a from t where b = 'it''s'",
           "select a from t where b = ''''", "select \"it's\" from t",
           "select [a] from t", "select `a` from t", "select a from t -- it's",
           "select a /* it's */ from t", "select a from t where b = 'open",
           "select a\x01 from t",
           std::string("select a from t where b = 'a") + '\0' + "b'"}) {
    EXPECT_FALSE(SplitAtLiterals(no_form, &split)) << no_form;
  }
}

// Queries of one form with values that would mean something outside a
// literal (dialect, comments, quoted names, subqueries, parameters,
// numbers, bytes outside ASCII, the stand-ins' own marks): the form gives
// each the statement its own adaptation gives.
TEST(QueryFormsTest, AFormGivesEachQueryWhatItsOwnAdaptationGives) {
  const std::string stand_in_like = std::string(1, '\x01') + "0\x02";
  const std::vector<std::string> values = {"",
                                           "tiitm001.dsca",
                                           "a+b",
                                           "--",
                                           "/* x",
                                           "\"q\"",
                                           "[b]",
                                           "(select 1)",
                                           "?",
                                           ":v",
                                           "12",
                                           "\x02",
                                           "caf\xE9 \x80\x9F",
                                           stand_in_like,
                                           "select",
                                           " x ",
                                           ")"};
  const std::vector<std::string> templates = {
      " select type,conv,adju,leng from qxddi220   where  appl = '$'  and "
      "cpac + cdom = (select cdom from qxddi150 where  appl = '$' and cpac+ "
      "cmod + flno + '.' + fdnm = '$')",
      "select cpac + cmod + flno + '.' + fdnm from qxddi150 where appl = '$' "
      "and cpac + cmod + flno in ('$', '$' ) and comb = '$' ",
      "select '$' + a, b from t where c between '$' and '$' and n = 12 and "
      "d in ('$' + e) order by a",
      "select x'$', a from t where upper(b) = upper('$') and c <> '$'",
      "select a from t where b = '$' union select a from u where c = '$'",
      "select a from t where '$' = b",
  };
  QueryForms forms;  // one for every query: forms are analysed once
  size_t with_form = 0;
  for (const std::string& pattern : templates) {
    for (size_t first = 0; first < values.size(); ++first) {
      std::string sql;
      size_t slot = first;
      for (char c : pattern) {
        if (c == '$') {
          sql += values[slot++ % values.size()];
        } else {
          sql += c;
        }
      }
      bool has_form = false;
      EXPECT_TRUE(testing::FormGivesOwnAdaptation(forms, sql, &has_form));
      with_form += has_form ? 1 : 0;
    }
  }
  EXPECT_EQ(with_form, templates.size() * values.size());
}

class SqliteStatementsTest : public ::testing::Test {
 protected:
  SqliteStatementsTest() {
    repository_.Exec(
        "insert into qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom) "
        "values ('SRC', 'ti', 'itm', '001', 'item', 1, 'tiitem'),"
        " ('SRC', 'ti', 'itm', '001', 'dsca', 2, 'tidesc'),"
        " ('SRC', 'ti', 'itm', '002', 'item', 1, 'tiitem');"
        "insert into qxddi220 (appl, cpac, cdom, type, leng) values"
        " ('SRC', 'ti', 'desc', 'S', '30'), ('SRC', 'ti', 'item', 'S', '16');");
    connection_ = SqliteConnection::Open(repository_.path());
  }

  std::string FirstText(const std::string& sql) {
    const ResultSet r = connection_->Execute(sql);
    return r.rows.empty() ? "(none)" : r.rows[0][0].ToTextOrEmpty();
  }

  testing::TempRepository repository_;
  std::unique_ptr<SqliteConnection> connection_;
};

TEST_F(SqliteStatementsTest, AReusedStatementAnswersEachQueryWithItsOwnValues) {
  connection_->BeginReadScope();
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(FirstText("select cdom from qxddi150 where appl = 'SRC' and "
                        "fdnm = 'dsca'"),
              "tidesc");
    EXPECT_EQ(FirstText("select cdom from qxddi150 where appl = 'SRC' and "
                        "fdnm = 'item'"),
              "tiitem");
    EXPECT_EQ(FirstText("select cdom from qxddi150 where appl = 'SRC' and "
                        "fdnm = 'none'"),
              "(none)");
  }
  connection_->EndReadScope();
}

TEST_F(SqliteStatementsTest, ScalarSubqueriesGiveTheValueTheEngineWould) {
  const std::string field_domain =
      " select type,conv,adju,leng from qxddi220   where  appl = 'SRC'  and "
      "cpac + cdom = (select cdom from qxddi150 where  appl = 'SRC' and "
      "cpac+ cmod + flno + '.' + fdnm = '";
  EXPECT_EQ(FirstText(field_domain + "tiitm001.dsca')"), "S");
  EXPECT_EQ(connection_->Execute(field_domain + "tiitm001.dsca')")
                .rows[0][3]
                .ToText(),
            "30");
  // No row in the subquery: NULL, which matches nothing.
  EXPECT_EQ(FirstText(field_domain + "tiitm009.none')"), "(none)");
  // A subquery that refers to the outer query runs inside it.
  EXPECT_EQ(FirstText("select fdnm from qxddi150 o where fdno = (select "
                      "max(fdno) from qxddi150 i where i.flno = o.flno) and "
                      "flno = '001'"),
            "dsca");
}

// A view has no rowid to state the storage order with: its rows keep the
// view's order, also for the queries of its form that follow.
TEST_F(SqliteStatementsTest, AViewKeepsItsOwnOrderQueryAfterQuery) {
  repository_.Exec(
      "create view fields as select fdnm, flno, fdno from qxddi150 order by "
      "fdno desc");
  connection_ = SqliteConnection::Open(repository_.path());
  for (const char* table : {"001", "001", "002"}) {
    const ResultSet r = connection_->Execute(
        std::string("select fdnm from fields where flno = '") + table + "'");
    std::vector<std::string> names;
    for (const auto& row : r.rows) names.push_back(row[0].ToText());
    if (std::string(table) == "001") {
      EXPECT_THAT(names, ElementsAre("dsca", "item"));
    } else {
      EXPECT_THAT(names, ElementsAre("item"));
    }
  }
}

TEST_F(SqliteStatementsTest, RefusedQueriesKeepTheEnginesOwnMessage) {
  const VbError error = RaisedError(
      [&] { connection_->Execute("select x from qxddi150 where fdnm = 'a'"); });
  EXPECT_EQ(error.number(), errors::kQueryRefused);
  EXPECT_THAT(error.description(), HasSubstr("no such column: x"));
}

}  // namespace
}  // namespace mx::repository
