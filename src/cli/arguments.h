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

}  // namespace mx::cli

#endif  // MX_CLI_ARGUMENTS_H_
