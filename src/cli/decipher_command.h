// movx20xmlgen decipher FILE [--out FILE]: the plain text of a file that the
// legacy class wrote enciphered, on standard output or written whole to a
// file. It never writes over its input.
#ifndef MX_CLI_DECIPHER_COMMAND_H_
#define MX_CLI_DECIPHER_COMMAND_H_

#include <string>
#include <vector>

namespace mx::cli {

// 0 when the plain text was written; 1 when the input cannot be read or is
// shorter than a salt, or the output cannot be written. Usage errors, --out
// naming the input file among them, are thrown as UsageError.
int DecipherCommand(std::vector<std::string> args);

}  // namespace mx::cli

#endif  // MX_CLI_DECIPHER_COMMAND_H_
