// The report page of a generation run (generate --report): one HTML file
// that needs nothing from elsewhere. It carries the run's results file as
// data and its own script draws the summary counts as a bar, a table of the
// target tables that sorts by any column and filters by status, every
// failure with its error, and links to the files written, relative to the
// page's folder.
#ifndef MX_CLI_RUN_REPORT_HTML_H_
#define MX_CLI_RUN_REPORT_HTML_H_

#include <string>

#include "context/run_results.h"

namespace mx::cli {

// `results_json` is RunResultsJson of `results`; `report_path` where the
// page will be written (UTF-8), for the links.
std::string RunReportHtml(const RunResults& results,
                          const std::string& results_json,
                          const std::string& report_path);

// A link from the folder of `page` to `file` (both UTF-8 system paths): a
// relative URL with every byte outside the unreserved set and "/"
// percent-encoded.
std::string RelativeLink(const std::string& page, const std::string& file);

}  // namespace mx::cli

#endif  // MX_CLI_RUN_REPORT_HTML_H_
