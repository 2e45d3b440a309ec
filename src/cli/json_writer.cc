#include "cli/json_writer.h"

#include <cstdio>

#include "platform/encoding.h"
#include "platform/utf8.h"

namespace mx::cli {

namespace {

// Well-formed UTF-8 as it is; any other byte as U+FFFD.
std::string WellFormed(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp = 0;
    const size_t length = DecodeUtf8(utf8, i, &cp);
    if (length == 0) {
      AppendUtf8(out, 0xFFFD);
      ++i;
    } else {
      out.append(utf8, i, length);
      i += length;
    }
  }
  return out;
}

std::string Quoted(const std::string& utf8) {
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

}  // namespace

std::string JsonString(const std::string& win1252) {
  return Quoted(Win1252ToUtf8(win1252));
}

std::string JsonUtf8String(const std::string& utf8) {
  return Quoted(WellFormed(utf8));
}

std::string JsonArray(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ",";
    out += items[i];
  }
  return out + "]";
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

void JsonObject::AddUtf8(const std::string& name, const std::string& utf8) {
  AddRaw(name, JsonUtf8String(utf8));
}

void JsonObject::AddNull(const std::string& name) { AddRaw(name, "null"); }

void JsonObject::AddJson(const std::string& name, const std::string& json) {
  AddRaw(name, json);
}

}  // namespace mx::cli
