// The demo repository: a small but realistic migration design, as an SQL
// script over the repository schema.
#ifndef MX_CLI_DEMO_REPOSITORY_H_
#define MX_CLI_DEMO_REPOSITORY_H_

namespace mx::cli {

// The profile that the demo generates.
inline constexpr int kDemoProfile = 20;

// INSERT statements (UTF-8) for an empty repository.
const char* DemoRepositoryScript();

}  // namespace mx::cli

#endif  // MX_CLI_DEMO_REPOSITORY_H_
