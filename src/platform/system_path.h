// How a path inside the component (Windows-1252 text) names a file on the
// system (UTF-8 bytes). Most paths are converted character by character. A
// path given by the user (the command line's folders and files) must reach
// the system exactly as given, even when it holds characters the code page
// lacks; such a path is handed to the component as a stand-in text that is
// registered here, and every component path that starts with a stand-in
// (the whole text, or the text followed by "/") keeps the user's bytes for
// that part. Registration is process-wide and never undone.
#ifndef MX_PLATFORM_SYSTEM_PATH_H_
#define MX_PLATFORM_SYSTEM_PATH_H_

#include <optional>
#include <string>
#include <string_view>

namespace mx {

// The component text to hand over for a user's path (UTF-8): its
// Windows-1252 form when that converts back to the same bytes, else a
// registered stand-in. nullopt when `utf8` is not valid UTF-8.
std::optional<std::string> ComponentPathFor(const std::string& utf8);

// Registers `utf8` as a stand-in whatever it holds and returns it: for a
// path that is handed over inside a larger text taken byte for byte.
std::string StandInFor(const std::string& utf8);

// The system name of a component path.
std::string SystemPath(std::string_view component_path);

}  // namespace mx

#endif  // MX_PLATFORM_SYSTEM_PATH_H_
