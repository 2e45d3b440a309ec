#include "cli/generate_command.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "cli/arguments.h"
#include "cli/json_writer.h"
#include "cli/progress_bar.h"
#include "cli/usage.h"
#include "context/generator_context.h"
#include "movx20xmlgen/dispatch.h"
#include "movx20xmlgen/error.h"
#include "movx20xmlgen/generator_object.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/env.h"
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
  generator.PutProperty("ConnectionString", ComponentText(o.connection));
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
                          ComponentText(*o.select));
  }
  generator.PutProperty("XMLPath", ComponentText(o.xml_path));
  if (o.clear) generator.PutProperty("ClearXMLDirectory", true);
  if (o.option)
    generator.PutProperty("XMLGenerationOption", Variant(*o.option));
  if (o.traverse) generator.PutProperty("TraverseGeneration", *o.traverse);
  if (o.checked_out) generator.PutProperty("ConsiderCheckedOutVersions", true);
  if (o.split) generator.PutProperty("SplitVshells", true);
  if (o.row_size_check) generator.PutProperty("Include2GBCheck", true);
  if (o.schema_ini_path) {
    generator.PutProperty("SchemaINIPath", ComponentText(*o.schema_ini_path));
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
    std::cout << json.ToString() << "\n";
    return;
  }
  if (o.log && !result) {
    std::cerr << "movx20xmlgen: generation returned False: "
              << Win1252ToUtf8(error) << "\n";
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
  std::shared_ptr<DispatchObject> generator =
      CreateObject(o.legacy ? kLegacyProgId : kGeneratorProgId);
  auto* object = dynamic_cast<GeneratorObject*>(generator.get());
  FixedClock fixed_clock(o.now.value_or(""));
  if (o.now) object->context().clock = &fixed_clock;
  ConnectionSource& connections = object->context().connections;
  connections.set_cache_enabled(!o.no_cache);
  // Opened before the log, so that a trace that cannot be written stops the
  // command before anything else is written.
  std::shared_ptr<repository::QueryTrace> trace;
  if (o.trace) {
    trace = std::make_shared<repository::QueryTrace>(*o.trace);
    connections.set_trace(trace);
  }

  std::shared_ptr<TextStream> log;
  if (o.log) {
    log =
        std::make_shared<FileTextStream>(Env::Default(), ComponentText(*o.log));
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
  const bool result =
      generator->Invoke("GenerateXMLFile", InvokeKind::kMethod, no_args)
          .ToBool();
  progress.Finish();
  log->Close();
  PrintOutcome(*generator, o, result);
  if (trace) trace->Close();
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
