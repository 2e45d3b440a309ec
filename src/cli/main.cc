// The command-line program: routes to the subcommands and turns usage
// errors into one line and exit status 2, and any other error that escapes a
// command into one line and exit status 3.
#include <iostream>
#include <string>
#include <vector>

#include "cli/call_command.h"
#include "cli/decipher_command.h"
#include "cli/demo_command.h"
#include "cli/escaped_error.h"
#include "cli/generate_command.h"
#include "cli/repo_command.h"
#include "cli/usage.h"
#include "cli/version.h"

int main(int argc, char** argv) {
  using namespace mx::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" ||
      args[0] == "help") {
    std::cout << MainHelp();
    return args.empty() ? kExitUsage : kExitTrue;
  }
  if (args[0] == "--version") {
    std::cout << "movx20xmlgen " << ProgramVersion() << "\n";
    return kExitTrue;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  try {
    if (command == "generate") return GenerateCommand(args);
    if (command == "call") return CallCommand(args);
    if (command == "decipher") return DecipherCommand(args);
    if (command == "repo") return RepoCommand(args);
    if (command == "demo") return DemoCommand(args);
    throw UsageError("unknown command '" + command +
                     "' (see movx20xmlgen --help)");
  } catch (const UsageError& e) {
    std::cerr << "movx20xmlgen: " << e.what() << "\n";
    return kExitUsage;
  } catch (...) {
    std::cerr << EscapedErrorLine(std::current_exception()) << "\n";
    return kExitError;
  }
}
