#include "platform/system_path.h"

#include <mutex>
#include <vector>

#include "platform/encoding.h"

namespace mx {

namespace {

std::mutex& RegistryMutex() {
  static std::mutex* mutex = new std::mutex;
  return *mutex;
}

// The stand-ins in use. A stand-in is the user's UTF-8 bytes taken as
// Windows-1252 text, so it is also its own system name.
std::vector<std::string>& StandIns() {
  static std::vector<std::string>* stand_ins = new std::vector<std::string>;
  return *stand_ins;
}

bool StartsWithStandIn(std::string_view path, const std::string& stand_in) {
  return path.substr(0, stand_in.size()) == stand_in &&
         (path.size() == stand_in.size() || path[stand_in.size()] == '/');
}

}  // namespace

std::optional<std::string> ComponentPathFor(const std::string& utf8) {
  std::optional<std::string> text = Utf8ToWin1252(utf8);
  if (!text) return std::nullopt;
  if (Win1252ToUtf8(*text) == utf8) return text;
  return StandInFor(utf8);
}

std::string StandInFor(const std::string& utf8) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  StandIns().push_back(utf8);
  return utf8;
}

std::string SystemPath(std::string_view component_path) {
  {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    // The longest stand-in that matches wins: a folder and a file in it may
    // both be registered.
    const std::string* best = nullptr;
    for (const std::string& stand_in : StandIns()) {
      if (StartsWithStandIn(component_path, stand_in) &&
          (best == nullptr || stand_in.size() > best->size())) {
        best = &stand_in;
      }
    }
    if (best != nullptr) {
      return *best + Win1252ToUtf8(component_path.substr(best->size()));
    }
  }
  return Win1252ToUtf8(component_path);
}

}  // namespace mx
