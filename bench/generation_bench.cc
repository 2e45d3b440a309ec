// The generation benchmark: builds a synthetic repository (see
// synthetic_repository.h, or synthetic_legacy_repository.h for the legacy
// class), runs a full GenerateXMLFile over it with the read cache and
// without it (the second run traced), replays the trace through the
// SQLite library directly (prepare, step every row, finalize: the floor of
// the naive query stream), checks that both runs wrote the same bytes, and
// prints the figures side by side.
//
// Each run is a fresh process (this program started again with --child), so
// that its peak resident memory is its own.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/synthetic_legacy_repository.h"
#include "bench/synthetic_repository.h"
#include "context/generator_context.h"
#include "movx20xmlgen/cls_xml_generator.h"
#include "movx20xmlgen/cls_xml_legacy.h"
#include "movx20xmlgen/text_stream.h"
#include "platform/clock.h"
#include "platform/env.h"
#include "repository/caching_connection.h"
#include "repository/connection.h"
#include "repository/odbc_connection.h"
#include "repository/query_trace.h"
#include "repository/repository_copy.h"
#include "repository/schema.h"
#include "repository/snapshot_connection.h"
#include "repository/sqlite_connection.h"
#include "repository/sqlite_script.h"
#include "xml/cipher.h"

namespace mx::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Counts the queries that reach the repository (inside the read cache and
// the run's copy), and the statements the server backend sent.
class CountingConnection : public repository::Connection {
 public:
  // Readers of the run's state count on their own threads.
  static inline std::atomic<uint64_t> count = 0;
  static inline bool offer_copy = true;
  static inline const repository::OdbcConnection* server = nullptr;

  explicit CountingConnection(std::unique_ptr<repository::Connection> target)
      : target_(std::move(target)) {
    if (auto* odbc =
            dynamic_cast<const repository::OdbcConnection*>(target_.get())) {
      server = odbc;
    }
  }
  repository::ResultSet Execute(const std::string& sql) override {
    ++count;
    return target_->Execute(sql);
  }
  void BeginReadScope() override { target_->BeginReadScope(); }
  void EndReadScope() noexcept override { target_->EndReadScope(); }
  std::optional<int64_t> QueriesBeforeSnapshot() override {
    if (!offer_copy) return std::nullopt;
    return target_->QueriesBeforeSnapshot();
  }
  std::unique_ptr<repository::Connection> TakeSnapshot() override {
    return target_->TakeSnapshot();
  }
  std::unique_ptr<repository::Connection> OpenReader() override {
    std::unique_ptr<repository::Connection> reader = target_->OpenReader();
    if (reader == nullptr) return nullptr;
    return std::make_unique<CountingConnection>(std::move(reader));
  }

 private:
  std::unique_ptr<repository::Connection> target_;
};

std::unique_ptr<repository::Connection> OpenCounted(const std::string& cs) {
  return std::make_unique<CountingConnection>(repository::OpenConnection(cs));
}

// A connection string as given, or an SQLite file.
std::string ConnectionStringFor(const std::string& repo) {
  return repo.find('=') != std::string::npos ? repo : "Data Source=" + repo;
}

// The documents a legacy run wrote: the files in the sub-folders of its
// folder (the side files stand in the folder itself).
int64_t DocumentsBelow(const fs::path& out) {
  int64_t documents = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (entry.is_regular_file() && entry.path().parent_path() != out) {
      ++documents;
    }
  }
  return documents;
}

// An object of `Class` on the profile and the range FROM to TO.
template <typename Class>
std::unique_ptr<Class> OnRange(const std::string& from, const std::string& to) {
  auto object = std::make_unique<Class>();
  object->put_MigrationProfile(kProfile);
  object->put_PackageFrom(from.substr(0, 2));
  object->put_ModuleFrom(from.substr(2, 3));
  object->put_TableFrom(from.substr(5));
  object->put_PackageTo(to.substr(0, 2));
  object->put_ModuleTo(to.substr(2, 3));
  object->put_TableTo(to.substr(5));
  return object;
}

// The object of the class a run creates: CLASS is dd (ClsXMLGenerator) or
// legacy (ClsXMLLegacy, its Schema.ini beside the documents).
std::unique_ptr<GeneratorObject> CreateGenerator(const std::string& kind,
                                                 const std::string& out,
                                                 const std::string& from,
                                                 const std::string& to) {
  if (kind != "legacy") return OnRange<ClsXMLGenerator>(from, to);
  auto legacy = OnRange<ClsXMLLegacy>(from, to);
  legacy->put_SchemaINIPath(out);
  return legacy;
}

bool Generate(GeneratorObject& generator) {
  if (auto* legacy = dynamic_cast<ClsXMLLegacy*>(&generator)) {
    return legacy->GenerateXMLFile();
  }
  return dynamic_cast<ClsXMLGenerator&>(generator).GenerateXMLFile();
}

// --child CLASS REPO OUT LOG MODE FROM TO [TRACE]: one run of CLASS (dd or
// legacy); MODE is cache, no-cache, cache-no-copy (the read cache without the
// run's copy of the repository) or cache-in-turn (every document built on the
// run's own thread); REPO a file or a connection string. Prints
// "seconds objects sent reached copy-seconds" on standard output, where reached
// counts the statements a server got (queries a file answered).
int RunChild(const std::vector<std::string>& args) {
  const std::string& kind = args[0];
  const std::string& repo = args[1];
  const std::string& out = args[2];
  const std::string& log_path = args[3];
  const std::string& mode = args[4];
  const std::string& from = args[5];
  const std::string& to = args[6];
  const std::unique_ptr<GeneratorObject> object =
      CreateGenerator(kind, out, from, to);
  GeneratorObject& generator = *object;
  GeneratorContext& ctx = generator.context();
  FixedClock clock("2026-01-01 00:00:00");
  ctx.clock = &clock;
  ctx.connections.set_factory(&OpenCounted);
  ctx.connections.set_cache_enabled(mode != "no-cache");
  CountingConnection::offer_copy = mode == "cache" || mode == "cache-in-turn";
  if (mode == "cache-in-turn") ctx.ahead_threads = 0;
  std::shared_ptr<repository::QueryTrace> trace;
  if (args.size() > 7) {
    trace = std::make_shared<repository::QueryTrace>(args[7]);
    ctx.connections.set_trace(trace);
  }
  auto log = std::make_shared<FileTextStream>(Env::Default(), log_path);
  generator.putref_LogFileName(log);
  generator.put_ConnectionString(ConnectionStringFor(repo));
  generator.put_XMLPath(out);

  const Clock::time_point start = Clock::now();
  const bool result = Generate(generator);
  const double seconds = Seconds(Clock::now() - start);
  log->Close();
  if (trace) trace->Close();
  if (!result) {
    std::cerr << "GenerateXMLFile returned False: "
              << generator.get_ErrorDescription() << "\n";
    return 1;
  }
  const repository::CachingConnection* cached = ctx.connections.cache();
  const repository::SnapshotConnection* copy = ctx.connections.snapshot();
  const uint64_t reached = CountingConnection::server
                               ? CountingConnection::server->statements_sent()
                               : CountingConnection::count.load();
  // The legacy class runs without the read cache: its run's copy of the
  // repository (taken or not) sees every query then.
  const uint64_t sent = cached ? cached->stats().hits + cached->stats().misses
                        : copy ? copy->stats().answered_by_copy +
                                     copy->stats().sent_to_repository +
                                     copy->stats().answered_by_readers
                               : CountingConnection::count.load();
  const auto* dd = dynamic_cast<const ClsXMLGenerator*>(&generator);
  const int64_t documents =
      dd ? dd->get_NoOfXMLGenerated() : DocumentsBelow(out);
  std::cout << seconds << " " << documents << " " << sent << " " << reached
            << " "
            << (copy && copy->stats().taken ? copy->stats().seconds_to_take
                                            : -1.0)
            << "\n";
  return 0;
}

struct RunFigures {
  double seconds = 0;
  int64_t objects = 0;
  uint64_t sent = 0;
  uint64_t reached = 0;
  uint64_t bytes_written = 0;
  long peak_rss_kb = 0;
  double copy_seconds = -1;  // the run's copy of the repository; -1: none
};

uint64_t BytesBelow(const fs::path& root) {
  uint64_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return total;
}

RunFigures RunInChild(const std::string& self,
                      const std::vector<std::string>& args) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipe_fds[1], 1);
    close(pipe_fds[0]);
    std::vector<std::string> copy = {self, "--child"};
    copy.insert(copy.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(self.c_str(), argv.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t n; (n = read(pipe_fds[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<size_t>(n));
  }
  close(pipe_fds[0]);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("the run failed");
  }
  RunFigures figures;
  std::istringstream(output) >> figures.seconds >> figures.objects >>
      figures.sent >> figures.reached >> figures.copy_seconds;
  figures.peak_rss_kb = usage.ru_maxrss;
  figures.bytes_written = BytesBelow(args[2]) + fs::file_size(args[3]);
  return figures;
}

struct ReplayFigures {
  double seconds = 0;
  uint64_t queries = 0;
  uint64_t rows = 0;
};

// The trace through SQLite's own interface, one statement per query and
// nothing kept: prepare, step every row (each value read in place),
// finalize. Reading and converting the trace is not timed.
ReplayFigures Replay(const std::string& repo, const std::string& trace) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(repo.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) !=
      SQLITE_OK) {
    throw std::runtime_error("cannot open " + repo);
  }
  ReplayFigures figures;
  Clock::duration spent{};
  std::ifstream in(trace, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    const std::string sql =
        repository::SqliteQueryText(*repository::UnescapeTraceLine(line));
    const Clock::time_point start = Clock::now();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()),
                           &statement, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(db));
    }
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) {
        if (sqlite3_column_type(statement, c) == SQLITE_TEXT) {
          sqlite3_column_text(statement, c);
        }
      }
      ++figures.rows;
    }
    sqlite3_finalize(statement);
    spent += Clock::now() - start;
    ++figures.queries;
  }
  sqlite3_close_v2(db);
  figures.seconds = Seconds(spent);
  return figures;
}

// Whether a file of a legacy run's folder is enciphered: the documents (one
// sub-folder per table) and the conversion codes; the other side files are
// plain text.
bool IsEnciphered(const fs::path& file, const fs::path& folder) {
  return file.parent_path() != folder || file.filename() == "xConversionCodes";
}

// Every file below both folders, and the two logs, byte for byte; with
// `enciphered`, the plain text of the legacy class's enciphered files (each
// run draws its own salt).
bool SameBytes(const fs::path& a, const fs::path& b, const fs::path& log_a,
               const fs::path& log_b, bool enciphered) {
  auto read = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  };
  auto content = [&](const fs::path& p, const fs::path& folder) {
    return enciphered && IsEnciphered(p, folder) ? DecipherText(read(p))
                                                 : read(p);
  };
  if (read(log_a) != read(log_b)) return false;
  std::map<std::string, fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(a)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), a).string()] = entry.path();
    }
  }
  size_t count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(b)) {
    if (!entry.is_regular_file()) continue;
    ++count;
    auto it = files.find(fs::relative(entry.path(), b).string());
    if (it == files.end() ||
        content(it->second, a) != content(entry.path(), b)) {
      return false;
    }
  }
  return count == files.size();
}

struct Options {
  RepositoryShape shape;
  std::string dir;
  bool keep = false;
  bool reference = false;        // the three reference sizes in one run
  int repeat = 1;                // runs of each kind; the fastest is reported
  bool legacy = false;           // the legacy class over a legacy profile
  bool without_indexes = false;  // also a copy of the file without indexes
  std::string server;            // also a copy on this ODBC server (PostgreSQL)
};

void Usage() {
  std::cerr
      << "usage: mx_generation_bench [--legacy] [--objects N] [--fields N] "
         "[--dumps N]\n"
         "         [--domains N] [--enum-constants N] [--special-rules PCT]\n"
         "         [--sections N] [--mscripts N] [--seed N] [--long-text "
         "BYTES]\n"
         "         [--dir DIR] "
         "[--keep]\n"
         "         [--repeat N] [--without-indexes] [--server CONN]\n"
         "       mx_generation_bench [--legacy] --reference [--dir DIR] "
         "[--keep] "
         "[--repeat N]\n"
         "         [--without-indexes] [--server CONN]\n";
}

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--keep") {
      o.keep = true;
      continue;
    }
    if (a == "--reference") {
      o.reference = true;
      continue;
    }
    if (a == "--without-indexes") {
      o.without_indexes = true;
      continue;
    }
    if (a == "--legacy") {
      o.legacy = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      Usage();
      std::exit(2);
    }
    const std::string value = args[++i];
    if (a == "--dir") {
      o.dir = value;
      continue;
    }
    if (a == "--server") {
      o.server = value;
      continue;
    }
    if (a == "--repeat") {
      o.repeat = std::max(1, std::stoi(value));
      continue;
    }
    const long long n = std::stoll(value);
    if (a == "--objects")
      o.shape.objects = static_cast<int>(n);
    else if (a == "--fields")
      o.shape.fields = static_cast<int>(n);
    else if (a == "--dumps")
      o.shape.dumps = static_cast<int>(n);
    else if (a == "--domains")
      o.shape.domains = static_cast<int>(n);
    else if (a == "--enum-constants")
      o.shape.enum_constants = static_cast<int>(n);
    else if (a == "--special-rules")
      o.shape.special_rule_percent = static_cast<int>(n);
    else if (a == "--sections")
      o.shape.sections = static_cast<int>(n);
    else if (a == "--mscripts")
      o.shape.mscript_groups = static_cast<int>(n);
    else if (a == "--seed")
      o.shape.seed = static_cast<uint64_t>(n);
    else if (a == "--long-text")
      o.shape.long_text_bytes = static_cast<int>(n);
    else {
      Usage();
      std::exit(2);
    }
  }
  return o;
}

void PrintHeader() {
  std::printf("%-16s %9s %11s %16s %16s %15s %10s %8s\n", "run", "seconds",
              "objects/s", "queries/object", "db-queries/obj", "bytes written",
              "peak MB", "copy s");
}

void PrintRun(const char* name, const RunFigures& f, int objects) {
  std::printf("%-16s %9.3f %11.0f %16.1f %16.2f %15llu %10.1f ", name,
              f.seconds, objects / f.seconds,
              static_cast<double>(f.sent) / objects,
              static_cast<double>(f.reached) / objects,
              static_cast<unsigned long long>(f.bytes_written),
              static_cast<double>(f.peak_rss_kb) / 1024.0);
  if (f.copy_seconds >= 0) {
    std::printf("%8.2f\n", f.copy_seconds);
  } else {
    std::printf("%8s\n", "-");
  }
}

struct SizeResult {
  bool same = false;
  double cached_seconds = 0;
};

// The faster of two runs of one kind; the largest memory either needed.
RunFigures Faster(const RunFigures& a, const RunFigures& b) {
  RunFigures faster = b.seconds < a.seconds ? b : a;
  faster.peak_rss_kb = std::max(a.peak_rss_kb, b.peak_rss_kb);
  return faster;
}

// Runs of one kind, each in a folder and log of its own below `dir`.
class Runs {
 public:
  Runs(std::string self, fs::path dir, std::string kind)
      : self_(std::move(self)), dir_(dir), kind_(std::move(kind)) {}

  // One run named `name` (its folder and log); the fastest of the name's
  // runs so far.
  RunFigures Run(const std::string& name, int round, const std::string& repo,
                 const std::string& mode,
                 const std::vector<std::string>& more = {},
                 const char* from = kRangeFrom, const char* to = kRangeTo) {
    const std::string suffix = round == 1 ? "" : "-" + std::to_string(round);
    const fs::path out = dir_ / (name + suffix);
    fs::remove_all(out);
    fs::create_directories(out);
    std::vector<std::string> args = {
        kind_, repo, out.string(), Log(name, round), mode, from, to};
    args.insert(args.end(), more.begin(), more.end());
    const RunFigures run = RunInChild(self_, args);
    sync();
    auto [best, fresh] = best_.try_emplace(name, run);
    if (!fresh) best->second = Faster(best->second, run);
    return best->second;
  }

  std::string Log(const std::string& name, int round = 1) const {
    return (dir_ /
            (name + (round == 1 ? "" : "-" + std::to_string(round)) + ".log"))
        .string();
  }
  // Whether the first runs of both names wrote the same bytes.
  bool Same(const std::string& a, const std::string& b) const {
    return SameBytes(dir_ / a, dir_ / b, Log(a), Log(b), kind_ == "legacy");
  }

 private:
  std::string self_;
  fs::path dir_;
  std::string kind_;  // the class: dd or legacy
  std::map<std::string, RunFigures> best_;
};

// The repository file as another tool writes it: the same tables and rows,
// none of the lookup indexes.
std::string WithoutIndexes(const std::string& repo, const fs::path& dir) {
  const std::string copy = (dir / "repo-without-indexes.sqlite").string();
  fs::remove(copy);
  fs::copy_file(repo, copy);
  std::string script;
  for (const repository::LookupIndex& index : repository::LookupIndexes()) {
    script += "DROP INDEX " + index.name + ";\n";
  }
  repository::ExecuteSqliteScript(copy, script);
  sqlite3* db = nullptr;
  sqlite3_open(copy.c_str(), &db);
  sqlite3_exec(db, "VACUUM", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return copy;
}

// The repository tables on the server dropped, for a copy of their own.
std::string RepositoryTableList() {
  std::string names;
  for (const std::string& table : repository::RepositoryTables()) {
    names += (names.empty() ? "" : ", ") + table;
  }
  return names;
}

void DropServerTables(const std::string& server) {
  repository::OpenConnection(server)->Execute("DROP TABLE IF EXISTS " +
                                              RepositoryTableList());
}

// A server vacuums and analyses freshly loaded tables in the background,
// taking a processor from whatever run is measured then; a repository in
// use has had that done long ago, so it is done here, untimed.
void SettleServerTables(const std::string& server) {
  repository::OpenConnection(server)->Execute("VACUUM ANALYZE " +
                                              RepositoryTableList());
}

// One size, in its own folder below `dir`; the folder stays (deleting
// thousands of files just before the next run writes its own makes the file
// system slower for that run). With `repeat` > 1 the runs of each kind take
// turns, each in a folder of its own, and the fastest of each kind is
// reported: the speed of this shared machine drifts by tens of percent over
// minutes.
SizeResult RunSize(const std::string& self, const RepositoryShape& s,
                   const fs::path& dir, const Options& o) {
  fs::create_directories(dir);
  const std::string repo = (dir / "repo.sqlite").string();
  const std::string trace = (dir / "trace.txt").string();
  fs::remove(repo);

  std::printf(
      "\n%s class, shape: %d objects x %d fields x %d dumps x %d domains, %d "
      "enumeration constants, %d%% target()/empty() rules, %d sections, %d "
      "M-script groups, seed %llu\n",
      o.legacy ? "legacy" : "data-dictionary", s.objects, s.fields, s.dumps,
      s.domains, s.enum_constants, s.special_rule_percent, s.sections,
      s.mscript_groups, static_cast<unsigned long long>(s.seed));
  if (s.long_text_bytes > 0) {
    std::printf("the first object's pre-condition and a rule: %d bytes each\n",
                s.long_text_bytes);
  }
  Clock::time_point start = Clock::now();
  if (o.legacy) {
    WriteSyntheticLegacyRepository(repo, s);
  } else {
    WriteSyntheticRepository(repo, s);
  }
  std::printf("repository: %.1f MB, written in %.1f s\n",
              static_cast<double>(fs::file_size(repo)) / 1e6,
              Seconds(Clock::now() - start));
  std::string bare;
  if (o.without_indexes) bare = WithoutIndexes(repo, dir);
  double copy_seconds = 0;
  if (!o.server.empty()) {
    for (int r = 1; r <= o.repeat; ++r) {
      DropServerTables(o.server);
      start = Clock::now();
      const repository::CopySummary copied =
          repository::CopyRepository(repo, o.server);
      const double seconds = Seconds(Clock::now() - start);
      copy_seconds = r == 1 ? seconds : std::min(copy_seconds, seconds);
      std::printf("repo copy onto the server: %lld rows in %.2f s\n",
                  static_cast<long long>(copied.rows), seconds);
    }
    SettleServerTables(o.server);
  }
  std::fflush(stdout);
  // Written-back data from before a run would otherwise be flushed while it
  // runs; every run starts with nothing left to write.
  sync();

  Runs runs(self, dir, o.legacy ? "legacy" : "dd");
  RunFigures cached, in_turn, uncached, bare_run, server_run, ten_copy,
      ten_direct;
  // The first ten objects of the range.
  const char* kTenTo = "tbm00009";
  for (int r = 1; r <= o.repeat; ++r) {
    cached = runs.Run("cached", r, repo, "cache");
    // The data-dictionary class builds documents ahead on other threads;
    // here only the run's own.
    if (!o.legacy) in_turn = runs.Run("in-turn", r, repo, "cache-in-turn");
    uncached = runs.Run("uncached", r, repo, "no-cache", {trace});
    if (o.without_indexes) bare_run = runs.Run("no-indexes", r, bare, "cache");
    if (!o.server.empty()) {
      server_run = runs.Run("server", r, o.server, "cache");
      ten_copy =
          runs.Run("server-10", r, o.server, "cache", {}, kRangeFrom, kTenTo);
      ten_direct = runs.Run("server-10-direct", r, o.server, "cache-no-copy",
                            {}, kRangeFrom, kTenTo);
    }
  }
  const ReplayFigures replay = Replay(repo, trace);
  bool same = runs.Same("cached", "uncached");
  const bool in_turn_same = o.legacy || runs.Same("cached", "in-turn");
  const bool bare_same =
      !o.without_indexes || runs.Same("cached", "no-indexes");
  const bool server_same = o.server.empty() || runs.Same("cached", "server");
  const bool ten_same =
      o.server.empty() || runs.Same("server-10", "server-10-direct");

  if (o.repeat > 1) {
    std::printf("the fastest of %d runs of each kind\n", o.repeat);
  }
  PrintHeader();
  PrintRun("cached", cached, s.objects);
  if (!o.legacy) PrintRun("cached, in turn", in_turn, s.objects);
  PrintRun("uncached", uncached, s.objects);
  std::printf("%-16s %9.3f %11.0f %16.1f %16.1f %15s %10s %8s\n", "replay",
              replay.seconds, s.objects / replay.seconds,
              static_cast<double>(replay.queries) / s.objects,
              static_cast<double>(replay.queries) / s.objects, "-", "-", "-");
  if (o.without_indexes) PrintRun("without indexes", bare_run, s.objects);
  if (!o.server.empty()) {
    PrintRun("server", server_run, s.objects);
    PrintRun("server 10", ten_copy, 10);
    PrintRun("server 10 direct", ten_direct, 10);
  }
  std::printf(
      "cached/replay %.2f (target <= 0.10); %.0f objects/s (target "
      ">= 2,000); documents written %lld; cached and uncached "
      "outputs identical: %s\n",
      cached.seconds / replay.seconds, s.objects / cached.seconds,
      static_cast<long long>(cached.objects), same ? "yes" : "NO");
  if (!o.legacy) {
    std::printf(
        "cached, documents built in turn only: %.0f objects/s, cached/replay "
        "%.2f; identical: %s\n",
        s.objects / in_turn.seconds, in_turn.seconds / replay.seconds,
        in_turn_same ? "yes" : "NO");
  }
  if (o.without_indexes) {
    std::printf(
        "without indexes / cached %.2f (target <= 1.5); identical: "
        "%s\n",
        bare_run.seconds / cached.seconds, bare_same ? "yes" : "NO");
  }
  if (!o.server.empty()) {
    std::printf(
        "server / cached %.2f (target <= 3); identical: %s; statements to "
        "the server %llu (%.3f per object); repo copy %.2f s (target <= 15)\n"
        "ten objects with the copy offered / sent as before %.2f (%llu and "
        "%llu statements); identical: %s\n",
        server_run.seconds / cached.seconds, server_same ? "yes" : "NO",
        static_cast<unsigned long long>(server_run.reached),
        static_cast<double>(server_run.reached) / s.objects, copy_seconds,
        ten_copy.seconds / ten_direct.seconds,
        static_cast<unsigned long long>(ten_copy.reached),
        static_cast<unsigned long long>(ten_direct.reached),
        ten_same ? "yes" : "NO");
  }
  std::fflush(stdout);
  same = same && in_turn_same && bare_same && server_same && ten_same;
  return {same, cached.seconds};
}

int RunBenchmark(const std::string& self, const Options& o) {
  fs::path dir = o.dir;
  if (dir.empty()) {
    std::string pattern =
        (fs::temp_directory_path() / "mxbench-XXXXXX").string();
    dir = mkdtemp(pattern.data());
  }
  bool same = true;
  if (!o.reference) {
    same = RunSize(self, o.shape, dir, o).same;
  } else {
    RepositoryShape base = o.shape;
    base.objects = 5000;
    base.fields = 40;
    RepositoryShape more_objects = base;
    more_objects.objects = 10000;
    RepositoryShape more_fields = base;
    more_fields.fields = 80;
    const SizeResult a = RunSize(self, base, dir / "5000x40", o);
    const SizeResult b = RunSize(self, more_objects, dir / "10000x40", o);
    const SizeResult c = RunSize(self, more_fields, dir / "5000x80", o);
    same = a.same && b.same && c.same;
    std::printf(
        "\ngrowth (cached): 10,000 / 5,000 objects %.2f, 80 / 40 fields %.2f "
        "(target <= 2.2 each)\n",
        b.cached_seconds / a.cached_seconds,
        c.cached_seconds / a.cached_seconds);
  }
  if (!o.keep) fs::remove_all(dir);
  return same ? 0 : 1;
}

}  // namespace
}  // namespace mx::bench

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (!args.empty() && args[0] == "--child") {
      return mx::bench::RunChild({args.begin() + 1, args.end()});
    }
    const std::string self = std::filesystem::canonical("/proc/self/exe");
    return mx::bench::RunBenchmark(self, mx::bench::ParseOptions(args));
  } catch (const std::exception& e) {
    std::cerr << "mx_generation_bench: " << e.what() << "\n";
    return 1;
  }
}
