// A JSON reader for tests, and a check of a value against a JSON Schema
// (the keywords the project's schemas use: type, enum, required,
// properties, additionalProperties false, items, minimum, and $ref to
// "#/$defs/NAME"). Malformed input fails the test that reads it.
#ifndef MX_TESTS_TESTING_JSON_H_
#define MX_TESTS_TESTING_JSON_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mx::testing {

struct Json {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  bool integral = false;  // written without fraction or exponent
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;  // in written order

  bool Has(const std::string& name) const { return Find(name) != nullptr; }
  const Json* Find(const std::string& name) const {
    for (const auto& [key, value] : members) {
      if (key == name) return &value;
    }
    return nullptr;
  }
  const Json& operator[](const std::string& name) const {
    static const Json kMissing;
    const Json* value = Find(name);
    EXPECT_NE(value, nullptr) << "no member " << name;
    return value ? *value : kMissing;
  }
  bool IsNull() const { return kind == Kind::kNull; }
  int64_t Int() const { return static_cast<int64_t>(number); }
};

class JsonReader {
 public:
  explicit JsonReader(const std::string& text) : s_(text) {}

  Json Read() {
    Json value = Value();
    Blanks();
    if (pos_ != s_.size()) Fail("text after the value");
    return value;
  }
  bool failed() const { return failed_; }

 private:
  void Fail(const std::string& what) {
    if (!failed_) ADD_FAILURE() << "JSON: " << what << " at " << pos_;
    failed_ = true;
    pos_ = s_.size();
  }
  void Blanks() {
    while (pos_ < s_.size() &&
           std::string(" \t\r\n").find(s_[pos_]) != std::string::npos) {
      ++pos_;
    }
  }
  bool Take(char c) {
    Blanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Word(const char* word) {
    const std::string w = word;
    if (s_.compare(pos_, w.size(), w) != 0) return false;
    pos_ += w.size();
    return true;
  }
  static void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  std::string String() {
    std::string out;
    ++pos_;  // the opening quote
    while (pos_ < s_.size() && s_[pos_] != '"') {
      char c = s_[pos_++];
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) break;
      c = s_[pos_++];
      switch (c) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case '/':
        case '\\':
        case '"':
          out += c;
          break;
        case 'u':
          AppendUtf8(out, static_cast<unsigned>(
                              std::stoul(s_.substr(pos_, 4), nullptr, 16)));
          pos_ += 4;
          break;
        default:
          Fail("bad escape");
      }
    }
    if (!Take('"')) Fail("unterminated string");
    return out;
  }
  Json Value() {
    Json v;
    Blanks();
    if (pos_ >= s_.size()) {
      Fail("value missing");
      return v;
    }
    const char c = s_[pos_];
    if (c == '"') {
      v.kind = Json::Kind::kString;
      v.text = String();
    } else if (c == '{') {
      v.kind = Json::Kind::kObject;
      ++pos_;
      if (!Take('}')) {
        do {
          Blanks();
          if (pos_ >= s_.size() || s_[pos_] != '"') Fail("member name");
          std::string name = String();
          if (!Take(':')) Fail("colon");
          v.members.emplace_back(std::move(name), Value());
        } while (Take(','));
        if (!Take('}')) Fail("object not closed");
      }
    } else if (c == '[') {
      v.kind = Json::Kind::kArray;
      ++pos_;
      if (!Take(']')) {
        do v.items.push_back(Value());
        while (Take(','));
        if (!Take(']')) Fail("array not closed");
      }
    } else if (Word("true") || Word("false")) {
      v.kind = Json::Kind::kBool;
      v.boolean = c == 't';
    } else if (Word("null")) {
    } else {
      const size_t start = pos_;
      while (pos_ < s_.size() &&
             std::string("+-0123456789.eE").find(s_[pos_]) != std::string::npos)
        ++pos_;
      const std::string number = s_.substr(start, pos_ - start);
      if (number.empty()) Fail("unexpected character");
      v.kind = Json::Kind::kNumber;
      v.number = std::strtod(number.c_str(), nullptr);
      v.integral = number.find_first_of(".eE") == std::string::npos;
    }
    return v;
  }

  const std::string& s_;
  size_t pos_ = 0;
  bool failed_ = false;
};

inline Json ParseJson(const std::string& text) {
  return JsonReader(text).Read();
}

// The schema's complaints about `value`, each with the path where it lies;
// empty when the value conforms.
class SchemaCheck {
 public:
  explicit SchemaCheck(const Json& schema) : root_(schema) {}

  std::vector<std::string> Problems(const Json& value) {
    problems_.clear();
    Check(root_, value, "$");
    return problems_;
  }

 private:
  static bool HasType(const Json& v, const std::string& type) {
    using K = Json::Kind;
    if (type == "null") return v.kind == K::kNull;
    if (type == "boolean") return v.kind == K::kBool;
    if (type == "number") return v.kind == K::kNumber;
    if (type == "integer") return v.kind == K::kNumber && v.integral;
    if (type == "string") return v.kind == K::kString;
    if (type == "array") return v.kind == K::kArray;
    if (type == "object") return v.kind == K::kObject;
    return false;
  }
  static bool Equal(const Json& a, const Json& b) {
    if (a.kind != b.kind) return false;
    return a.boolean == b.boolean && a.number == b.number && a.text == b.text;
  }
  const Json& Resolve(const Json& schema) {
    const Json* ref = schema.Find("$ref");
    if (ref == nullptr) return schema;
    const std::string prefix = "#/$defs/";
    const Json* def = root_["$defs"].Find(ref->text.substr(prefix.size()));
    if (def == nullptr) {
      problems_.push_back("unresolved " + ref->text);
      return root_;
    }
    return *def;
  }
  void Check(const Json& schema_in, const Json& v, const std::string& at) {
    const Json& schema = Resolve(schema_in);
    if (const Json* type = schema.Find("type")) {
      bool ok = false;
      if (type->kind == Json::Kind::kString) ok = HasType(v, type->text);
      for (const Json& t : type->items) ok = ok || HasType(v, t.text);
      if (!ok) {
        problems_.push_back(at + ": wrong type");
        return;
      }
    }
    if (const Json* options = schema.Find("enum")) {
      bool ok = false;
      for (const Json& o : options->items) ok = ok || Equal(o, v);
      if (!ok) problems_.push_back(at + ": not one of the enum");
    }
    if (const Json* minimum = schema.Find("minimum")) {
      if (v.kind == Json::Kind::kNumber && v.number < minimum->number) {
        problems_.push_back(at + ": below the minimum");
      }
    }
    if (v.kind == Json::Kind::kObject) CheckObject(schema, v, at);
    if (v.kind == Json::Kind::kArray) {
      if (const Json* items = schema.Find("items")) {
        for (size_t i = 0; i < v.items.size(); ++i) {
          Check(*items, v.items[i], at + "[" + std::to_string(i) + "]");
        }
      }
    }
  }
  void CheckObject(const Json& schema, const Json& v, const std::string& at) {
    if (const Json* required = schema.Find("required")) {
      for (const Json& name : required->items) {
        if (!v.Has(name.text)) problems_.push_back(at + ": no " + name.text);
      }
    }
    const Json* properties = schema.Find("properties");
    const Json* additional = schema.Find("additionalProperties");
    for (const auto& [name, member] : v.members) {
      const Json* property = properties ? properties->Find(name) : nullptr;
      if (property != nullptr) {
        Check(*property, member, at + "." + name);
      } else if (additional != nullptr &&
                 additional->kind == Json::Kind::kBool &&
                 !additional->boolean) {
        problems_.push_back(at + ": unexpected member " + name);
      }
    }
  }

  const Json& root_;
  std::vector<std::string> problems_;
};

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_JSON_H_
