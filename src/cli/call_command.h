// movx20xmlgen call: one public method through the dispatch layer, with the
// result and every by-reference argument printed as JSON.
#ifndef MX_CLI_CALL_COMMAND_H_
#define MX_CLI_CALL_COMMAND_H_

#include <string>
#include <vector>

namespace mx::cli {

int CallCommand(std::vector<std::string> args);

}  // namespace mx::cli

#endif  // MX_CLI_CALL_COMMAND_H_
