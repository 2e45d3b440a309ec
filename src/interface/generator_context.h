// What a generator object holds that every subsystem reads: the settings, the
// repository connection, the log stream, ErrorDescription, the file system,
// the clock and the state of the document in hand. Both generator classes own
// one; the builders of every subsystem take it by reference.
#ifndef MX_INTERFACE_GENERATOR_CONTEXT_H_
#define MX_INTERFACE_GENERATOR_CONTEXT_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "interface/document_state.h"
#include "platform/clock.h"
#include "platform/env.h"
#include "platform/error.h"
#include "platform/text_stream.h"
#include "repository/caching_connection.h"
#include "repository/connection.h"
#include "repository/query_trace.h"
#include "repository/recordset.h"

namespace mx {

// The settings of both classes, as stored (the storing rules live with the
// classes). Members that one class lacks stay at their defaults there.
struct GeneratorSettings {
  int32_t migration_profile = 0;
  std::string package_from, module_from, table_from;
  std::string package_to, module_to, table_to;
  std::string connection_string;
  std::string xml_path;
  bool include_2gb_check = false;
  int32_t xml_generation_option = 0;
  std::string status_filter;
  std::string user_name;
  std::string list_of_mapping_objects_selected;
  bool traverse_generation = false;
  bool consider_checked_out_versions = false;
  bool split_vshells = false;
  std::string schema_ini_path;
};

// Opens the connection on first use and keeps it for the object's lifetime,
// one per connection string. A connection it opens is wrapped, from the
// inside out, in the run's read cache (unless turned off) and the query trace
// (when one is set); a connection handed in with Adopt is used as it is.
//
// A run reads inside a run scope (RunScope below): the connection in use
// during the scope gets one read scope (see repository::Connection), begun
// when the run first asks for it and ended with the run, on every path.
class ConnectionSource {
 public:
  using Factory =
      std::unique_ptr<repository::Connection> (*)(const std::string&);

  repository::Connection& Get(const std::string& connection_string);
  void set_factory(Factory factory) { factory_ = factory; }
  // Hands in a ready connection for the given string (tests, benchmarks).
  void Adopt(const std::string& connection_string,
             std::unique_ptr<repository::Connection> connection);

  // Both apply to connections opened from here on.
  void set_cache_enabled(bool on) { cache_enabled_ = on; }
  void set_trace(std::shared_ptr<repository::QueryTrace> trace) {
    trace_ = std::move(trace);
  }
  // The read cache of the open connection; nullptr when it has none.
  const repository::CachingConnection* cache() const { return cache_; }

  // The scope of one run; scopes do not nest.
  class RunScope {
   public:
    explicit RunScope(ConnectionSource& source);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

   private:
    ConnectionSource& source_;
  };

 private:
  void EndReadScope() noexcept;

  Factory factory_ = &repository::OpenConnection;
  bool cache_enabled_ = true;
  std::shared_ptr<repository::QueryTrace> trace_;
  std::string opened_for_;
  std::unique_ptr<repository::Connection> connection_;
  repository::CachingConnection* cache_ = nullptr;  // inside connection_
  bool in_run_ = false;
  bool reading_ = false;  // connection_ is inside its read scope
};

// The summary counts of the last run.
struct RunCounts {
  int32_t total = 0;
  int32_t success = 0;
  int32_t mscript = 0;
  int32_t no_mapping = 0;
  int32_t errors = 0;
};

// Which generator class a context belongs to: the operations that the two
// classes share word for word differ only in how they word their errors.
enum class GeneratorKind { kDataDictionary, kLegacy };

class GeneratorContext {
 public:
  explicit GeneratorContext(GeneratorKind kind);

  const GeneratorKind kind;

  GeneratorSettings settings;
  std::string error_description;
  std::string list_of_xml_generated;
  int32_t no_of_xml_generated = 0;
  RunCounts counts;  // of the last run
  DocumentState doc;
  std::shared_ptr<TextStream> log;  // may be empty: lines then go nowhere
  Env* env;
  Clock* clock;
  ConnectionSource connections;
  // Told after each target table of a run: tables done, tables selected.
  std::function<void(int32_t, int32_t)> progress;
  // Asked after each target table of a run: true stops the run there.
  std::function<bool()> stop_requested;

  // Opens a recordset on the connection string of the settings.
  repository::Recordset Query(const std::string& sql);

  // A log line (CR LF added) and plain log text (written as it stands).
  void LogLine(std::string_view line);
  void LogText(std::string_view text);
  void LogBlankLine();
  // The failure report of an operation: ErrorDescription := message, and the
  // same message to the log: as it stands when it already ends in CR LF,
  // else as one line.
  void ReportError(const std::string& message);

  // The common error report of an operation: data-dictionary class
  // TAB TAB "ERROR:" N ":" description (one line); legacy class
  // TAB TAB "ERROR:- " N " - " description CR LF. N has a sign position.
  void ReportOperationError(int32_t number, const std::string& description);
  void ReportOperationError(const VbError& error) {
    ReportOperationError(error.number(), error.description());
  }

  std::string Now() { return clock->Now(); }
};

}  // namespace mx

#endif  // MX_INTERFACE_GENERATOR_CONTEXT_H_
