// The results file of a generation run (generate --results): one JSON
// document with the run's settings (the connection string without its
// password), its start and end, the summary counts, and one entry per
// target table in run order. docs/run-results.schema.json is its schema;
// the README describes every member.
#ifndef MX_CLI_RUN_RESULTS_JSON_H_
#define MX_CLI_RUN_RESULTS_JSON_H_

#include <string>

#include "cli/generate_command.h"
#include "context/run_results.h"

namespace mx::cli {

// Names the format; a change that breaks readers gets a new number.
inline constexpr char kRunResultsSchema[] = "movx20xmlgen/run-results/v1";

// `options` are the command line's; `generator_class` the class that ran.
std::string RunResultsJson(const RunResults& results,
                           const GenerateOptions& options,
                           const std::string& generator_class);

// The path of a file the run wrote, as the system names it (UTF-8).
std::string WrittenPath(const WrittenFile& file);

// Seconds with three decimals, from microseconds: "0.250".
std::string Seconds(int64_t microseconds);

}  // namespace mx::cli

#endif  // MX_CLI_RUN_RESULTS_JSON_H_
