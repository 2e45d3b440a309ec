// movx20xmlgen demo [DIR]: builds the demo repository in DIR, generates its
// documents into DIR/xml with the log in DIR/demo.log, and says where they
// are.
#ifndef MX_CLI_DEMO_COMMAND_H_
#define MX_CLI_DEMO_COMMAND_H_

#include <string>
#include <vector>

namespace mx::cli {

int DemoCommand(std::vector<std::string> args);

}  // namespace mx::cli

#endif  // MX_CLI_DEMO_COMMAND_H_
