#include "cli/generate_command.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/arguments.h"
#include "cli/json_writer.h"
#include "cli/progress_bar.h"
#include "cli/run_guards.h"
#include "cli/run_report_html.h"
#include "cli/run_results_json.h"
#include "cli/usage.h"
#include "context/generator_context.h"
#include "movx20xmlgen/dispatch.h"
#include "movx20xmlgen/error.h"
#include "movx20xmlgen/generator_object.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/env.h"
#include "platform/vb_text.h"
#include "repository/query_trace.h"

namespace mx::cli {

namespace {

constexpr char kGeneratorProgId[] = "MOVX20XMLGenerator.ClsXMLGenerator";
constexpr char kLegacyProgId[] = "MOVX20XMLGenerator.ClsXMLLegacy";

void CheckRequired(const GenerateOptions& o) {
  if (o.connection.empty()) throw UsageError("--connection is required");
  if (!o.profile) throw UsageError("--profile is required");
  if (o.xml_path.empty()) throw UsageError("--xml-path is required");
  if (o.from.has_value() != o.to.has_value()) {
    throw UsageError("--from and --to go together");
  }
  if (o.from && o.select) {
    throw UsageError(
        "--select replaces the range: give --select or --from/--to");
  }
  if (o.legacy && (o.option || o.row_size_check)) {
    throw UsageError(
        "--option and --row-size-check are not settings of the legacy class");
  }
  if (o.now && !IsValidTimestamp(*o.now)) {
    throw UsageError("--now takes \"YYYY-MM-DD HH:MM:SS\", not '" + *o.now +
                     "'");
  }
}

// Blanks around each code of a comma-separated list do not count: "a, b"
// selects a and b.
std::string TrimmedList(const std::string& list) {
  std::vector<std::string> codes = vb::Split(list, ",");
  for (std::string& code : codes) code = vb::Trim(code);
  return vb::Join(codes, ",");
}

// The files a run reads and writes, refused before anything is touched
// when one would destroy another; an output folder that is missing (and not
// to be created by --clear) is refused too.
void CheckFiles(const GenerateOptions& o) {
  std::error_code ec;
  if (!o.clear && !std::filesystem::is_directory(o.xml_path, ec)) {
    throw UsageError(
        "--xml-path names no existing folder (--clear creates one)");
  }
  RunFiles files;
  files.repository = RepositoryFile(o.connection);
  files.log = o.log;
  files.trace = o.trace;
  files.results = o.results;
  files.report = o.report;
  // The generator clears the folder named without blanks around it.
  if (o.clear) files.cleared_folder = vb::Trim(o.xml_path);
  CheckRunFiles(files);
}

// SIGINT and SIGTERM during a run: the run stops after the object in hand
// and the program exits with 128 + the signal. A second signal ends the
// program at once.
volatile std::sig_atomic_t stop_signal = 0;

void RecordStopSignal(int signal_number) { stop_signal = signal_number; }

class StopSignals {
 public:
  StopSignals() {
    struct sigaction action = {};
    action.sa_handler = &RecordStopSignal;
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &old_int_);
    sigaction(SIGTERM, &action, &old_term_);
  }
  ~StopSignals() {
    sigaction(SIGINT, &old_int_, nullptr);
    sigaction(SIGTERM, &old_term_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  static bool Received() { return stop_signal != 0; }
  static int ExitStatus() { return 128 + stop_signal; }

 private:
  struct sigaction old_int_, old_term_;
};

// A range code: package (characters 1-2), module (3-5), table number (rest).
struct RangeCode {
  std::string package, module, table;
};

RangeCode SplitRangeCode(const std::string& code) {
  auto part = [&](size_t pos, size_t n) {
    return pos < code.size() ? code.substr(pos, n) : std::string();
  };
  return {part(0, 2), part(2, 3), part(5, std::string::npos)};
}

void SetProperties(DispatchObject& generator, const GenerateOptions& o,
                   const std::shared_ptr<TextStream>& log) {
  generator.PutProperty("ConnectionString", ComponentConnection(o.connection));
  generator.PutProperty("MigrationProfile", Variant(*o.profile));
  if (o.from) {
    const RangeCode from = SplitRangeCode(ComponentText(*o.from));
    const RangeCode to = SplitRangeCode(ComponentText(*o.to));
    generator.PutProperty("PackageFrom", from.package);
    generator.PutProperty("ModuleFrom", from.module);
    generator.PutProperty("TableFrom", from.table);
    generator.PutProperty("PackageTo", to.package);
    generator.PutProperty("ModuleTo", to.module);
    generator.PutProperty("TableTo", to.table);
  }
  if (o.select) {
    generator.PutProperty("ListOfMappingObjectsSelected",
                          ComponentText(TrimmedList(*o.select)));
  }
  generator.PutProperty("XMLPath", ComponentPath(o.xml_path));
  if (o.clear) generator.PutProperty("ClearXMLDirectory", true);
  if (o.option)
    generator.PutProperty("XMLGenerationOption", Variant(*o.option));
  if (o.traverse) generator.PutProperty("TraverseGeneration", *o.traverse);
  if (o.checked_out) generator.PutProperty("ConsiderCheckedOutVersions", true);
  if (o.split) generator.PutProperty("SplitVshells", true);
  if (o.row_size_check) generator.PutProperty("Include2GBCheck", true);
  if (o.schema_ini_path) {
    generator.PutProperty("SchemaINIPath", ComponentPath(*o.schema_ini_path));
  }
  if (o.user) generator.PutProperty("UserName", ComponentText(*o.user));
  generator.PutRefProperty("LogFileName",
                           Variant(std::shared_ptr<DispatchObject>(
                               std::make_shared<TextStreamObject>(log))));
}

void PrintOutcome(DispatchObject& generator, const GenerateOptions& o,
                  bool result) {
  const std::string error = generator.GetProperty("ErrorDescription").ToText();
  if (o.json) {
    JsonObject json;
    json.AddBool("result", result);
    json.AddText("ErrorDescription", error);
    if (!o.legacy) {
      json.AddText("ListOfXMLGenerated",
                   generator.GetProperty("ListOfXMLGenerated").ToText());
      json.AddNumber("NoOfXMLGenerated",
                     generator.GetProperty("NoOfXMLGenerated").ToInt32());
    }
    const RunCounts& counts =
        dynamic_cast<GeneratorObject&>(generator).context().counts;
    json.AddNumber("successful", counts.success);
    json.AddNumber("mscript", counts.mscript);
    json.AddNumber("no_mapping", counts.no_mapping);
    json.AddNumber("errors", counts.errors);
    json.AddNumber("total", counts.total);
    std::cout << json.ToString() << "\n";
    return;
  }
  if (o.log && !result) {
    std::cerr << "movx20xmlgen: generation returned False: "
              << Win1252ToUtf8(error) << "\n";
  }
}

// The results file and the report page, each written whole, after the run
// (after a stopped one too, with the tables done up to the stop).
void WriteRunResults(const RunResults& results, const GenerateOptions& o) {
  if (!o.results && !o.report) return;
  const std::string json =
      RunResultsJson(results, o, o.legacy ? "ClsXMLLegacy" : "ClsXMLGenerator");
  Env* env = Env::Default();
  if (o.results) env->WriteFile(ComponentPath(*o.results), json);
  if (o.report) {
    env->WriteFile(ComponentPath(*o.report),
                   RunReportHtml(results, json, *o.report));
  }
}

}  // namespace

GenerateOptions ParseGenerateOptions(std::vector<std::string> list) {
  GenerateOptions o;
  Arguments args(std::move(list));
  while (!args.Done()) {
    const std::string a = args.Take();
    if (a == "--connection")
      o.connection = args.TakeValue(a);
    else if (a == "--profile")
      o.profile =
          ParseInteger(a, args.TakeValue(a), -2147483648LL, 2147483647LL);
    else if (a == "--xml-path")
      o.xml_path = args.TakeValue(a);
    else if (a == "--legacy")
      o.legacy = true;
    else if (a == "--from")
      o.from = args.TakeValue(a);
    else if (a == "--to")
      o.to = args.TakeValue(a);
    else if (a == "--select")
      o.select = args.TakeValue(a);
    else if (a == "--option")
      o.option = ParseInteger(a, args.TakeValue(a), 0, 5);
    else if (a == "--traverse")
      o.traverse = true;
    else if (a == "--no-traverse")
      o.traverse = false;
    else if (a == "--checked-out")
      o.checked_out = true;
    else if (a == "--split")
      o.split = true;
    else if (a == "--row-size-check")
      o.row_size_check = true;
    else if (a == "--clear")
      o.clear = true;
    else if (a == "--schema-ini-path")
      o.schema_ini_path = args.TakeValue(a);
    else if (a == "--user")
      o.user = args.TakeValue(a);
    else if (a == "--log")
      o.log = args.TakeValue(a);
    else if (a == "--now")
      o.now = args.TakeValue(a);
    else if (a == "--json")
      o.json = true;
    else if (a == "--trace")
      o.trace = args.TakeValue(a);
    else if (a == "--no-cache")
      o.no_cache = true;
    else if (a == "--threads")
      o.threads = ParseInteger(a, args.TakeValue(a), 1, 64);
    else if (a == "--results")
      o.results = args.TakeValue(a);
    else if (a == "--report")
      o.report = args.TakeValue(a);
    else
      throw UsageError("unknown option " + a + " (see generate --help)");
  }
  CheckRequired(o);
  if (!o.legacy) {
    ParseInteger("--profile", std::to_string(*o.profile), -32768, 32767);
  }
  return o;
}

int RunGenerate(const GenerateOptions& o) {
  CheckFiles(o);
  std::shared_ptr<DispatchObject> generator =
      CreateObject(o.legacy ? kLegacyProgId : kGeneratorProgId);
  auto* object = dynamic_cast<GeneratorObject*>(generator.get());
  FixedClock fixed_clock(o.now.value_or(""));
  if (o.now) object->context().clock = &fixed_clock;
  ConnectionSource& connections = object->context().connections;
  connections.set_cache_enabled(!o.no_cache);
  if (o.threads) {
    object->context().ahead_threads = static_cast<int>(*o.threads) - 1;
  }
  // Opened before the log, so that a trace that cannot be written stops the
  // command before anything else is written.
  std::shared_ptr<repository::QueryTrace> trace;
  if (o.trace) {
    trace = std::make_shared<repository::QueryTrace>(*o.trace);
    connections.set_trace(trace);
  }

  std::shared_ptr<TextStream> log;
  if (o.log) {
    log = LineFileTextStream::Open(*o.log);
  } else {
    log = std::make_shared<StdioTextStream>(stderr);
  }
  ProgressBar progress(stderr);
  if (o.log && isatty(fileno(stderr))) {
    object->context().progress = [&](int32_t done, int32_t total) {
      progress.Update(done, total);
    };
  }
  SetProperties(*generator, o, log);
  std::vector<Variant> no_args;
  bool result = false;
  {
    const StopSignals stop_signals;
    object->context().stop_requested = &StopSignals::Received;
    result = generator->Invoke("GenerateXMLFile", InvokeKind::kMethod, no_args)
                 .ToBool();
  }
  progress.Finish();
  log->Close();
  WriteRunResults(object->context().recorder.results(), o);
  PrintOutcome(*generator, o, result);
  if (trace) trace->Close();
  if (StopSignals::Received()) return StopSignals::ExitStatus();
  return result ? kExitTrue : kExitFalse;
}

int GenerateCommand(std::vector<std::string> args) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << GenerateHelp();
      return kExitTrue;
    }
  }
  GenerateOptions options = ParseGenerateOptions(std::move(args));
  try {
    return RunGenerate(options);
  } catch (const VbError& e) {
    std::cerr << "movx20xmlgen: error " << e.number() << ": "
              << Win1252ToUtf8(e.description()) << "\n";
    return kExitFalse;
  }
}

}  // namespace mx::cli
