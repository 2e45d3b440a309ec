// One-line JSON objects and arrays for the command line's results. Texts of
// the component come in as Windows-1252, texts of the system (paths, command
// line arguments) as UTF-8; both go out as UTF-8 with the JSON escapes.
#ifndef MX_CLI_JSON_WRITER_H_
#define MX_CLI_JSON_WRITER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace mx::cli {

class JsonObject {
 public:
  void AddBool(const std::string& name, bool value);
  void AddNumber(const std::string& name, int64_t value);
  void AddText(const std::string& name, const std::string& win1252);
  void AddUtf8(const std::string& name, const std::string& utf8);
  void AddNull(const std::string& name);
  // A value that is JSON already: an object, an array, a number.
  void AddJson(const std::string& name, const std::string& json);
  std::string ToString() const { return "{" + body_ + "}"; }

 private:
  void AddRaw(const std::string& name, const std::string& json);
  std::string body_;
};

std::string JsonString(const std::string& win1252);
// A byte that is not part of a well-formed UTF-8 character becomes U+FFFD.
std::string JsonUtf8String(const std::string& utf8);
// "[" items joined with "," "]".
std::string JsonArray(const std::vector<std::string>& items);

}  // namespace mx::cli

#endif  // MX_CLI_JSON_WRITER_H_
