// The version of the program, the library and its package: the project's
// VERSION file, as CMake read it.
#ifndef MX_CLI_VERSION_H_
#define MX_CLI_VERSION_H_

namespace mx::cli {

const char* ProgramVersion();

}  // namespace mx::cli

#endif  // MX_CLI_VERSION_H_
