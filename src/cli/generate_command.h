// movx20xmlgen generate: creates a generator class, sets its properties in
// the order a workbench sets them, runs GenerateXMLFile and reports.
#ifndef MX_CLI_GENERATE_COMMAND_H_
#define MX_CLI_GENERATE_COMMAND_H_

#include <optional>
#include <string>
#include <vector>

namespace mx::cli {

struct GenerateOptions {
  std::string connection;
  std::optional<int64_t> profile;
  std::string xml_path;
  bool legacy = false;
  std::optional<std::string> from, to, select;
  std::optional<int64_t> option;
  std::optional<bool> traverse;
  bool checked_out = false;
  bool split = false;
  bool row_size_check = false;
  bool clear = false;
  std::optional<std::string> schema_ini_path;
  std::optional<std::string> user;
  std::optional<std::string> log;
  std::optional<std::string> now;
  bool json = false;
  std::optional<std::string> trace;  // file of every query sent (UTF-8 path)
  bool no_cache = false;
  std::optional<int64_t> threads;      // building documents, the run's included
  std::optional<std::string> results;  // JSON results file (UTF-8 path)
  std::optional<std::string> report;   // HTML report page (UTF-8 path)
};

// Throws UsageError.
GenerateOptions ParseGenerateOptions(std::vector<std::string> args);

// Returns the exit status.
int RunGenerate(const GenerateOptions& options);

int GenerateCommand(std::vector<std::string> args);

}  // namespace mx::cli

#endif  // MX_CLI_GENERATE_COMMAND_H_
