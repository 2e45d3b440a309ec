// A one-line JSON object for the command line's results. Texts come in as
// Windows-1252 and go out as UTF-8 with the JSON escapes.
#ifndef MX_CLI_JSON_WRITER_H_
#define MX_CLI_JSON_WRITER_H_

#include <cstdint>
#include <string>

namespace mx::cli {

class JsonObject {
 public:
  void AddBool(const std::string& name, bool value);
  void AddNumber(const std::string& name, int64_t value);
  void AddText(const std::string& name, const std::string& win1252);
  std::string ToString() const { return "{" + body_ + "}"; }

 private:
  void AddRaw(const std::string& name, const std::string& json);
  std::string body_;
};

std::string JsonString(const std::string& win1252);

}  // namespace mx::cli

#endif  // MX_CLI_JSON_WRITER_H_
