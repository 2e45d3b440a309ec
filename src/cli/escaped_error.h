// The line the program writes for an error that no command handled: one
// line on standard error, whatever the error's text holds, and exit status
// kExitError.
#ifndef MX_CLI_ESCAPED_ERROR_H_
#define MX_CLI_ESCAPED_ERROR_H_

#include <exception>
#include <string>

namespace mx::cli {

// "movx20xmlgen: error N: description" for a numbered error (the description
// in UTF-8), "movx20xmlgen: " + what() for any other exception. Line breaks
// inside become blanks; no line break at the end.
std::string EscapedErrorLine(std::exception_ptr error);

}  // namespace mx::cli

#endif  // MX_CLI_ESCAPED_ERROR_H_
