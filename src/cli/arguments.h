// Reading the command line: options with values, flags, numbers, and the
// conversion of every argument from UTF-8 to the component's Windows-1252.
// Every problem is a UsageError with a one-line message.
#ifndef MX_CLI_ARGUMENTS_H_
#define MX_CLI_ARGUMENTS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mx::cli {

class Arguments {
 public:
  Arguments(std::vector<std::string> args) : args_(std::move(args)) {}

  bool Done() const { return next_ >= args_.size(); }
  const std::string& Peek() const { return args_[next_]; }
  std::string Take() { return args_[next_++]; }
  // The value after an option; a UsageError when there is none.
  std::string TakeValue(const std::string& option);

 private:
  std::vector<std::string> args_;
  size_t next_ = 0;
};

// A whole number within [min, max], or a UsageError naming the option.
int64_t ParseInteger(const std::string& option, const std::string& text,
                     int64_t min, int64_t max);

// UTF-8 to Windows-1252; a UsageError when the text is not valid UTF-8.
std::string ComponentText(const std::string& utf8);

// A file-system path for the component that reaches the system as given,
// even with characters Windows-1252 lacks (see platform/system_path.h).
std::string ComponentPath(const std::string& utf8);

// A connection string for the component whose Data Source reaches the
// system as given; the rest converts as ComponentText does.
std::string ComponentConnection(const std::string& utf8);

// The Data Source of an SQLite connection string (UTF-8, as given); nullopt
// for a string that names no file.
std::optional<std::string> RepositoryFile(const std::string& connection);

}  // namespace mx::cli

#endif  // MX_CLI_ARGUMENTS_H_
