// Command-line usage: the help texts and the usage error, which the program
// reports in one line with exit status 2.
#ifndef MX_CLI_USAGE_H_
#define MX_CLI_USAGE_H_

#include <stdexcept>
#include <string>

namespace mx::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kExitTrue = 0;
inline constexpr int kExitFalse = 1;
inline constexpr int kExitUsage = 2;
// An error that the command did not handle (main reports it in one line).
inline constexpr int kExitError = 3;

const char* MainHelp();
const char* GenerateHelp();
const char* CallHelp();
const char* RepoHelp();
const char* DemoHelp();
const char* DecipherHelp();

}  // namespace mx::cli

#endif  // MX_CLI_USAGE_H_
