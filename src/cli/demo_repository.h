// The demo repository: a small but realistic migration design, as an SQL
// script over the repository schema, and the generation runs the demo makes
// over it. Every run writes into a folder and a log of its own, so the demo
// folder shows each class side by side.
#ifndef MX_CLI_DEMO_REPOSITORY_H_
#define MX_CLI_DEMO_REPOSITORY_H_

#include <cstdint>

namespace mx::cli {

// The data-dictionary profile and the legacy profile of the demo.
inline constexpr int kDemoProfile = 20;
inline constexpr int kDemoLegacyProfile = 30;

// INSERT statements (UTF-8) for an empty repository: both profiles.
const char* DemoRepositoryScript();

// One generation run of the demo. `select` replaces the range when set.
struct DemoRun {
  const char* title;
  bool legacy;
  bool split;
  int profile;
  const char* from;
  const char* to;
  const char* select;
  int64_t option;  // XMLGenerationOption of the data-dictionary class; -1: none
  const char*
      folder;       // documents (and legacy side files), below the demo folder
  const char* log;  // below the demo folder
};

// The runs, in the order the demo makes them.
inline constexpr DemoRun kDemoRuns[] = {
    // Every status, so that the skip rules show.
    {"Data-dictionary class", false, false, kDemoProfile, "tcitm000",
     "tcord999", nullptr, 5, "xml", "demo.log"},
    {"Data-dictionary class, split over worker shells", false, true,
     kDemoProfile, nullptr, nullptr, "tcspl001", -1, "xml-split",
     "demo-split.log"},
    {"Legacy class", true, false, kDemoLegacyProfile, "tccus000", "tccus999",
     nullptr, -1, "legacy", "demo-legacy.log"},
    {"Legacy class, split over worker shells", true, true, kDemoLegacyProfile,
     nullptr, nullptr, "tcspl002", -1, "legacy-split", "demo-legacy-split.log"},
};

}  // namespace mx::cli

#endif  // MX_CLI_DEMO_REPOSITORY_H_
