// A value as the original platform passed it around: empty, null, Boolean,
// whole number, floating-point number, text (Windows-1252 bytes) or an object
// reference. Repository fields and dispatch arguments are Variants; the
// conversions follow the original language's rules (a null read as text or
// number is error 94, a 16-bit overflow is error 6).
#ifndef MOVX20XMLGEN_VARIANT_H_
#define MOVX20XMLGEN_VARIANT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace mx {

class DispatchObject;  // defined by the dispatch layer

struct Empty {};
struct Null {};

class Variant {
 public:
  using Object = std::shared_ptr<DispatchObject>;

  Variant() = default;
  Variant(Null) : value_(Null{}) {}
  Variant(bool b) : value_(b) {}
  Variant(int32_t i) : value_(int64_t{i}) {}
  Variant(int64_t i) : value_(i) {}
  Variant(double d) : value_(d) {}
  Variant(std::string s) : value_(std::move(s)) {}
  Variant(const char* s) : value_(std::string(s)) {}
  Variant(Object o) : value_(std::move(o)) {}

  static Variant MakeNull() { return Variant(Null{}); }

  bool IsEmpty() const { return std::holds_alternative<Empty>(value_); }
  bool IsNull() const { return std::holds_alternative<Null>(value_); }
  bool IsBool() const { return std::holds_alternative<bool>(value_); }
  bool IsInteger() const { return std::holds_alternative<int64_t>(value_); }
  bool IsDouble() const { return std::holds_alternative<double>(value_); }
  bool IsText() const { return std::holds_alternative<std::string>(value_); }
  bool IsObject() const { return std::holds_alternative<Object>(value_); }

  // Text of the value: numbers in their shortest form, True/False for
  // Booleans, "" for empty. Null is error 94.
  std::string ToText() const;
  // As ToText, but null reads as "" (a value only joined into a text).
  std::string ToTextOrEmpty() const;
  // 16-bit integer: texts are read as numbers and rounded half to even;
  // past -32768..32767 is error 6; null is error 94; a non-number is 13.
  int16_t ToInt16() const;
  int32_t ToInt32() const;
  double ToDouble() const;
  // True for a non-zero number or the text "True" (any case); null is 94.
  bool ToBool() const;
  // As ToBool, but null counts as False.
  bool ToBoolOrFalse() const;
  const Object& ToObject() const;  // 13 when not an object

  const std::string* text() const { return std::get_if<std::string>(&value_); }

 private:
  std::variant<Empty, Null, bool, int64_t, double, std::string, Object> value_;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_VARIANT_H_
