// The log lines of a generation run that both generator classes write: the
// progress line of each target table, the skip lines of the status rules, the
// completion line and the summary.
#ifndef MX_RUN_RUN_LOG_H_
#define MX_RUN_RUN_LOG_H_

#include <cstdint>
#include <string>

#include "context/reporter.h"
#include "context/run_counts.h"

namespace mx {

struct VersionTriple {
  std::string vers;  // 4 characters, blank-padded
  std::string rele;  // 2
  std::string cust;  // 4

  static VersionTriple Blank() { return {"    ", "  ", "    "}; }
  bool operator==(const VersionTriple&) const = default;
};

// "(n.)" TAB NOW TAB "Started exporting the <noun> Object: " code " as XML
// File." The data-dictionary class says Conversion, the legacy class Mapping.
std::string StartedLine(int32_t n, const std::string& now,
                        const std::string& noun, const std::string& code);

// The status skip lines, as "Conversion Object CODE in Profile No. P V-R-C  -
// V-R-C" followed by the reason, with the leading tabs of each.
std::string ExpiredLine(const std::string& code, int32_t profile,
                        const VersionTriple& working);
std::string StatusErrorLine(const std::string& code, int32_t profile,
                            const VersionTriple& working);
std::string CommentOnlyLine(const std::string& code, int32_t profile,
                            const VersionTriple& working);
std::string NoRulesLine(const std::string& code, int32_t profile,
                        const VersionTriple& working);

// The reasons of the status skips above as a run's results give them.
inline constexpr char kExpiredReason[] = "status X: expired";
inline constexpr char kErrorStatusReason[] = "status E: in error";
inline constexpr char kCommentOnlyReason[] = "status D: comment only";
inline constexpr char kNoRulesReason[] = "status M: no rules maintained";

std::string MScriptSkipLine(const std::string& now, const std::string& code);
std::string CompletedLine(const std::string& now, const std::string& code);
std::string NoMappingWarning(const std::string& code);

// The closing block; the legacy summary has no M-script line.
void WriteSummary(Reporter& log, const RunCounts& counts,
                  bool with_mscript_line);

}  // namespace mx

#endif  // MX_RUN_RUN_LOG_H_
