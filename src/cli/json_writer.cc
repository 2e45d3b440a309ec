#include "cli/json_writer.h"

#include <cstdio>

#include "platform/encoding.h"

namespace mx::cli {

std::string JsonString(const std::string& win1252) {
  const std::string utf8 = Win1252ToUtf8(win1252);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

void JsonObject::AddRaw(const std::string& name, const std::string& json) {
  if (!body_.empty()) body_ += ",";
  body_ += JsonString(name) + ":" + json;
}

void JsonObject::AddBool(const std::string& name, bool value) {
  AddRaw(name, value ? "true" : "false");
}

void JsonObject::AddNumber(const std::string& name, int64_t value) {
  AddRaw(name, std::to_string(value));
}

void JsonObject::AddText(const std::string& name, const std::string& text) {
  AddRaw(name, JsonString(text));
}

}  // namespace mx::cli
