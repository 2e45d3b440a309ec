// What a document builder may use, and nothing more: the settings
// (read-only), the state of the document in hand, a way to query the
// repository and a way to report. The run makes one for every document, over
// a fresh DocumentState, so nothing carries over from the document before.
#ifndef MX_CONTEXT_BUILD_CONTEXT_H_
#define MX_CONTEXT_BUILD_CONTEXT_H_

#include <string>
#include <string_view>

#include "context/document_state.h"
#include "context/query_source.h"
#include "context/reporter.h"
#include "context/settings.h"

namespace mx {

class BuildContext {
 public:
  BuildContext(const GeneratorSettings& settings_in, DocumentState& doc_in,
               QuerySource& queries, Reporter& reporter)
      : settings(settings_in),
        doc(doc_in),
        queries_(queries),
        reporter_(reporter) {}

  BuildContext(const BuildContext&) = delete;
  BuildContext& operator=(const BuildContext&) = delete;

  const GeneratorSettings& settings;
  DocumentState& doc;

  GeneratorKind kind() const { return reporter_.kind(); }
  Reporter& reporter() { return reporter_; }

  repository::Recordset Query(const std::string& sql) {
    return queries_.Query(sql);
  }

  void LogLine(std::string_view line) { reporter_.LogLine(line); }
  void LogText(std::string_view text) { reporter_.LogText(text); }
  void ReportError(const std::string& message) {
    reporter_.ReportError(message);
  }
  void ReportError(const VbError& cause, const std::string& message) {
    reporter_.ReportError(cause, message);
  }
  void ReportOperationError(int32_t number, const std::string& description) {
    reporter_.ReportOperationError(number, description);
  }
  void ReportOperationError(const VbError& error) {
    reporter_.ReportOperationError(error);
  }
  const std::string& error_description() const {
    return reporter_.error_description();
  }

 private:
  QuerySource& queries_;
  Reporter& reporter_;
};

}  // namespace mx

#endif  // MX_CONTEXT_BUILD_CONTEXT_H_
