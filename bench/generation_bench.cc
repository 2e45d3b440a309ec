// The generation benchmark: builds a synthetic repository (see
// synthetic_repository.h), runs a full GenerateXMLFile over it with the read
// cache and without it (the second run traced), replays the trace through the
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

#include "bench/synthetic_repository.h"
#include "context/generator_context.h"
#include "movx20xmlgen/cls_xml_generator.h"
#include "movx20xmlgen/text_stream.h"
#include "platform/clock.h"
#include "platform/env.h"
#include "repository/caching_connection.h"
#include "repository/query_trace.h"
#include "repository/sqlite_connection.h"

namespace mx::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Counts the queries that reach the repository (inside the read cache).
class CountingConnection : public repository::Connection {
 public:
  static inline uint64_t count = 0;
  explicit CountingConnection(std::unique_ptr<repository::Connection> target)
      : target_(std::move(target)) {}
  repository::ResultSet Execute(const std::string& sql) override {
    ++count;
    return target_->Execute(sql);
  }
  void BeginReadScope() override { target_->BeginReadScope(); }
  void EndReadScope() noexcept override { target_->EndReadScope(); }

 private:
  std::unique_ptr<repository::Connection> target_;
};

std::unique_ptr<repository::Connection> OpenCounted(const std::string& cs) {
  return std::make_unique<CountingConnection>(repository::OpenConnection(cs));
}

// --child REPO OUT LOG cache|no-cache [TRACE]: one run; prints
// "seconds objects sent reached" on standard output.
int RunChild(const std::vector<std::string>& args) {
  const std::string& repo = args[0];
  const std::string& out = args[1];
  const std::string& log_path = args[2];
  const bool cache = args[3] == "cache";
  ClsXMLGenerator generator;
  GeneratorContext& ctx = generator.context();
  FixedClock clock("2026-01-01 00:00:00");
  ctx.clock = &clock;
  ctx.connections.set_factory(&OpenCounted);
  ctx.connections.set_cache_enabled(cache);
  std::shared_ptr<repository::QueryTrace> trace;
  if (args.size() > 4) {
    trace = std::make_shared<repository::QueryTrace>(args[4]);
    ctx.connections.set_trace(trace);
  }
  auto log = std::make_shared<FileTextStream>(Env::Default(), log_path);
  generator.putref_LogFileName(log);
  generator.put_ConnectionString("Data Source=" + repo);
  generator.put_MigrationProfile(kProfile);
  generator.put_XMLPath(out);
  generator.put_PackageFrom(std::string(kRangeFrom).substr(0, 2));
  generator.put_ModuleFrom(std::string(kRangeFrom).substr(2, 3));
  generator.put_TableFrom(std::string(kRangeFrom).substr(5));
  generator.put_PackageTo(std::string(kRangeTo).substr(0, 2));
  generator.put_ModuleTo(std::string(kRangeTo).substr(2, 3));
  generator.put_TableTo(std::string(kRangeTo).substr(5));

  const Clock::time_point start = Clock::now();
  const bool result = generator.GenerateXMLFile();
  const double seconds = Seconds(Clock::now() - start);
  log->Close();
  if (trace) trace->Close();
  if (!result) {
    std::cerr << "GenerateXMLFile returned False: "
              << generator.get_ErrorDescription() << "\n";
    return 1;
  }
  const repository::CachingConnection* cached = ctx.connections.cache();
  const uint64_t reached = CountingConnection::count;
  const uint64_t sent =
      cached ? cached->stats().hits + cached->stats().misses : reached;
  std::cout << seconds << " " << generator.get_NoOfXMLGenerated() << " " << sent
            << " " << reached << "\n";
  return 0;
}

struct RunFigures {
  double seconds = 0;
  int64_t objects = 0;
  uint64_t sent = 0;
  uint64_t reached = 0;
  uint64_t bytes_written = 0;
  long peak_rss_kb = 0;
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
      figures.sent >> figures.reached;
  figures.peak_rss_kb = usage.ru_maxrss;
  figures.bytes_written = BytesBelow(args[1]) + fs::file_size(args[2]);
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

// Every file below both folders, and the two logs, byte for byte.
bool SameBytes(const fs::path& a, const fs::path& b, const fs::path& log_a,
               const fs::path& log_b) {
  auto read = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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
    if (it == files.end() || read(it->second) != read(entry.path())) {
      return false;
    }
  }
  return count == files.size();
}

struct Options {
  RepositoryShape shape;
  std::string dir;
  bool keep = false;
  bool reference = false;  // the three reference sizes in one run
  int repeat = 1;          // runs of each kind; the fastest is reported
};

void Usage() {
  std::cerr
      << "usage: mx_generation_bench [--objects N] [--fields N] [--dumps N]\n"
         "         [--domains N] [--enum-constants N] [--special-rules PCT]\n"
         "         [--sections N] [--mscripts N] [--seed N] [--long-text "
         "BYTES]\n"
         "         [--dir DIR] "
         "[--keep]\n"
         "         [--repeat N]\n"
         "       mx_generation_bench --reference [--dir DIR] [--keep] "
         "[--repeat N]\n";
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
    if (i + 1 >= args.size()) {
      Usage();
      std::exit(2);
    }
    const std::string value = args[++i];
    if (a == "--dir") {
      o.dir = value;
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

void PrintRun(const char* name, const RunFigures& f, int objects) {
  std::printf("%-9s %9.3f %11.0f %16.1f %16.1f %15llu %10.1f\n", name,
              f.seconds, objects / f.seconds,
              static_cast<double>(f.sent) / objects,
              static_cast<double>(f.reached) / objects,
              static_cast<unsigned long long>(f.bytes_written),
              static_cast<double>(f.peak_rss_kb) / 1024.0);
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

// One size, in its own folder below `dir`; the folder stays (deleting
// thousands of files just before the next run writes its own makes the file
// system slower for that run). With `repeat` > 1 the cached and uncached runs
// take turns, each in a folder of its own, and the fastest of each kind is
// reported: the speed of this shared machine drifts by tens of percent over
// minutes.
SizeResult RunSize(const std::string& self, const RepositoryShape& s,
                   const fs::path& dir, int repeat) {
  fs::create_directories(dir);
  const std::string repo = (dir / "repo.sqlite").string();
  const std::string trace = (dir / "trace.txt").string();
  fs::remove(repo);

  std::printf(
      "\nshape: %d objects x %d fields x %d dumps x %d domains, %d "
      "enumeration constants, %d%% target()/empty() rules, %d sections, %d "
      "M-script groups, seed %llu\n",
      s.objects, s.fields, s.dumps, s.domains, s.enum_constants,
      s.special_rule_percent, s.sections, s.mscript_groups,
      static_cast<unsigned long long>(s.seed));
  if (s.long_text_bytes > 0) {
    std::printf("the first object's pre-condition and a rule: %d bytes each\n",
                s.long_text_bytes);
  }
  Clock::time_point start = Clock::now();
  WriteSyntheticRepository(repo, s);
  std::printf("repository: %.1f MB, written in %.1f s\n",
              static_cast<double>(fs::file_size(repo)) / 1e6,
              Seconds(Clock::now() - start));
  std::fflush(stdout);
  // Written-back data from before a run would otherwise be flushed while it
  // runs; every run starts with nothing left to write.
  sync();

  RunFigures cached;
  RunFigures uncached;
  for (int r = 1; r <= repeat; ++r) {
    const std::string suffix = r == 1 ? "" : "-" + std::to_string(r);
    for (const std::string kind : {"cached", "uncached"}) {
      const fs::path out = dir / (kind + suffix);
      fs::remove_all(out);
      fs::create_directories(out);
      const std::string log = (dir / (kind + suffix + ".log")).string();
      const RunFigures run =
          kind == "cached"
              ? RunInChild(self, {repo, out.string(), log, "cache"})
              : RunInChild(self, {repo, out.string(), log, "no-cache", trace});
      sync();
      RunFigures& best = kind == "cached" ? cached : uncached;
      best = r == 1 ? run : Faster(best, run);
    }
  }
  const ReplayFigures replay = Replay(repo, trace);
  const bool same = SameBytes(dir / "cached", dir / "uncached",
                              dir / "cached.log", dir / "uncached.log");

  if (repeat > 1) {
    std::printf("cached and uncached: the fastest of %d runs each\n", repeat);
  }
  std::printf("%-9s %9s %11s %16s %16s %15s %10s\n", "run", "seconds",
              "objects/s", "queries/object", "db-queries/obj", "bytes written",
              "peak MB");
  PrintRun("cached", cached, s.objects);
  PrintRun("uncached", uncached, s.objects);
  std::printf("%-9s %9.3f %11.0f %16.1f %16.1f %15s %10s\n", "replay",
              replay.seconds, s.objects / replay.seconds,
              static_cast<double>(replay.queries) / s.objects,
              static_cast<double>(replay.queries) / s.objects, "-", "-");
  std::printf(
      "cached/replay %.2f (target <= 0.50); documents written %lld; cached "
      "and uncached outputs identical: %s\n",
      cached.seconds / replay.seconds, static_cast<long long>(cached.objects),
      same ? "yes" : "NO");
  std::fflush(stdout);
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
    same = RunSize(self, o.shape, dir, o.repeat).same;
  } else {
    RepositoryShape base = o.shape;
    base.objects = 5000;
    base.fields = 40;
    RepositoryShape more_objects = base;
    more_objects.objects = 10000;
    RepositoryShape more_fields = base;
    more_fields.fields = 80;
    const SizeResult a = RunSize(self, base, dir / "5000x40", o.repeat);
    const SizeResult b =
        RunSize(self, more_objects, dir / "10000x40", o.repeat);
    const SizeResult c = RunSize(self, more_fields, dir / "5000x80", o.repeat);
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
