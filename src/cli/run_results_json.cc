#include "cli/run_results_json.h"

#include <cstdio>
#include <vector>

#include "cli/json_writer.h"
#include "cli/version.h"
#include "platform/system_path.h"
#include "repository/provider_strings.h"

namespace mx::cli {

namespace {

std::string Optional(const std::optional<std::string>& utf8) {
  return utf8 ? JsonUtf8String(*utf8) : "null";
}

std::string Number(int64_t value) { return std::to_string(value); }

std::string CountsJson(const RunCounts& counts) {
  JsonObject json;
  json.AddNumber("successful", counts.success);
  json.AddNumber("mscript", counts.mscript);
  json.AddNumber("no_mapping", counts.no_mapping);
  json.AddNumber("errors", counts.errors);
  json.AddNumber("total", counts.total);
  return json.ToString();
}

// The summary count a table went into besides the total; null when it went
// into the total only.
std::string CountedAs(const RunCounts& counted) {
  if (counted.success > 0) return "\"successful\"";
  if (counted.mscript > 0) return "\"mscript\"";
  if (counted.no_mapping > 0) return "\"no_mapping\"";
  if (counted.errors > 0) return "\"errors\"";
  return "null";
}

std::string SelectionJson(const GenerateOptions& o) {
  JsonObject json;
  json.AddJson("from", Optional(o.from));
  json.AddJson("to", Optional(o.to));
  json.AddJson("list", Optional(o.select));
  return json.ToString();
}

std::string OptionsJson(const GenerateOptions& o) {
  JsonObject json;
  json.AddJson("option", o.option ? Number(*o.option) : "null");
  json.AddJson("traverse",
               o.traverse ? (*o.traverse ? "true" : "false") : "null");
  json.AddBool("checked_out", o.checked_out);
  json.AddBool("split", o.split);
  json.AddBool("row_size_check", o.row_size_check);
  json.AddBool("clear", o.clear);
  json.AddJson("schema_ini_path", Optional(o.schema_ini_path));
  json.AddJson("user", Optional(o.user));
  json.AddBool("no_cache", o.no_cache);
  return json.ToString();
}

std::string SettingsJson(const GenerateOptions& o,
                         const std::string& generator_class) {
  JsonObject json;
  json.AddUtf8("class", generator_class);
  json.AddJson("connection",
               Optional(repository::WithoutPassword(o.connection)));
  json.AddNumber("profile", o.profile.value_or(0));
  json.AddUtf8("xml_path", o.xml_path);
  json.AddJson("selection", SelectionJson(o));
  json.AddJson("options", OptionsJson(o));
  return json.ToString();
}

std::string FilesJson(const std::vector<WrittenFile>& files) {
  std::vector<std::string> items;
  for (const WrittenFile& file : files) {
    JsonObject json;
    json.AddUtf8("path", WrittenPath(file));
    json.AddNumber("bytes", static_cast<int64_t>(file.bytes));
    items.push_back(json.ToString());
  }
  return JsonArray(items);
}

std::string ErrorJson(std::optional<int32_t> number,
                      const std::string& description) {
  JsonObject json;
  json.AddJson("number", number ? Number(*number) : "null");
  json.AddText("description", description);
  return json.ToString();
}

std::string TableJson(const TableResult& table) {
  JsonObject json;
  json.AddText("code", table.code);
  json.AddUtf8("status", TableStatusName(table.status));
  json.AddJson("status_letter", table.status_letter.empty()
                                    ? "null"
                                    : JsonString(table.status_letter));
  json.AddJson("profile", table.profile ? Number(*table.profile) : "null");
  json.AddJson("counted_as", CountedAs(table.counted));
  const bool failed = table.status == TableStatus::kError;
  json.AddJson("error",
               failed ? ErrorJson(table.error_number, table.message) : "null");
  json.AddJson("reason", !failed && !table.message.empty()
                             ? JsonString(table.message)
                             : "null");
  json.AddJson("documents", FilesJson(table.files));
  json.AddJson("execution_time", Seconds(table.microseconds));
  return json.ToString();
}

}  // namespace

std::string WrittenPath(const WrittenFile& file) {
  return SystemPath(file.path);
}

std::string Seconds(int64_t microseconds) {
  if (microseconds < 0) microseconds = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld",
                static_cast<long long>(microseconds / 1000000),
                static_cast<long long>(microseconds % 1000000 / 1000));
  return text;
}

std::string RunResultsJson(const RunResults& results,
                           const GenerateOptions& options,
                           const std::string& generator_class) {
  JsonObject metadata;
  metadata.AddUtf8("schema", kRunResultsSchema);
  metadata.AddUtf8("program", "movx20xmlgen");
  metadata.AddUtf8("version", ProgramVersion());

  std::vector<std::string> tables;
  for (const TableResult& table : results.tables) {
    tables.push_back(TableJson(table));
  }
  JsonObject json;
  json.AddJson("metadata", metadata.ToString());
  json.AddJson("settings", SettingsJson(options, generator_class));
  json.AddText("started_at", results.started_at);
  json.AddText("ended_at", results.ended_at);
  json.AddJson("elapsed_time", Seconds(results.microseconds));
  json.AddBool("result", results.result);
  json.AddBool("interrupted", results.interrupted);
  json.AddJson("error", results.run_error
                            ? ErrorJson(results.run_error->number,
                                        results.run_error->description)
                            : "null");
  json.AddJson("summary", CountsJson(results.counts));
  json.AddJson("results", JsonArray(tables));
  json.AddJson("run_files", FilesJson(results.run_files));
  return json.ToString() + "\n";
}

}  // namespace mx::cli
