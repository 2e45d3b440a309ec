// Conversions of a Variant with the original language's rules.
#include "movx20xmlgen/variant.h"

#include <cmath>
#include <limits>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"

namespace mx {

namespace {

// Text to number as the original conversion functions read it: a text that
// IsNumeric accepts, "," grouping ignored; anything else is a type mismatch.
double TextToNumber(const std::string& text) {
  if (!vb::IsNumeric(text)) throw errors::TypeMismatch();
  return vb::Val(vb::Replace(text, ",", ""));
}

// Round half to even, as CInt and CLng do.
double RoundHalfEven(double d) {
  double r = std::nearbyint(d);  // default rounding mode: to nearest even
  return r;
}

}  // namespace

std::string Variant::ToText() const {
  if (IsNull()) throw errors::InvalidUseOfNull();
  return ToTextOrEmpty();
}

std::string Variant::ToTextOrEmpty() const {
  if (const auto* s = std::get_if<std::string>(&value_)) return *s;
  if (const auto* i = std::get_if<int64_t>(&value_)) {
    return vb::NumberToText(*i);
  }
  if (const auto* d = std::get_if<double>(&value_)) {
    return vb::NumberToText(*d);
  }
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? "True" : "False";
  if (IsObject()) throw errors::TypeMismatch();
  return "";
}

double Variant::ToDouble() const {
  if (IsNull()) throw errors::InvalidUseOfNull();
  if (const auto* i = std::get_if<int64_t>(&value_)) {
    return static_cast<double>(*i);
  }
  if (const auto* d = std::get_if<double>(&value_)) return *d;
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? -1.0 : 0.0;
  if (const auto* s = std::get_if<std::string>(&value_)) {
    return TextToNumber(*s);
  }
  if (IsEmpty()) return 0.0;
  throw errors::TypeMismatch();
}

int16_t Variant::ToInt16() const {
  double d = RoundHalfEven(ToDouble());
  if (!(d >= -32768.0 && d <= 32767.0)) throw errors::Overflow();
  return static_cast<int16_t>(d);
}

int32_t Variant::ToInt32() const {
  double d = RoundHalfEven(ToDouble());
  if (!(d >= -2147483648.0 && d <= 2147483647.0)) throw errors::Overflow();
  return static_cast<int32_t>(d);
}

bool Variant::ToBool() const {
  if (IsNull()) throw errors::InvalidUseOfNull();
  if (const auto* b = std::get_if<bool>(&value_)) return *b;
  if (const auto* i = std::get_if<int64_t>(&value_)) return *i != 0;
  if (const auto* d = std::get_if<double>(&value_)) return *d != 0.0;
  if (const auto* s = std::get_if<std::string>(&value_)) {
    // A Boolean column holds a number or the text True; any other text
    // (False, Y, N, blank) reads as False.
    if (vb::LCase(vb::Trim(*s)) == "true") return true;
    return vb::IsNumeric(*s) && TextToNumber(*s) != 0.0;
  }
  if (IsEmpty()) return false;
  throw errors::TypeMismatch();
}

bool Variant::ToBoolOrFalse() const { return IsNull() ? false : ToBool(); }

const Variant::Object& Variant::ToObject() const {
  if (const auto* o = std::get_if<Object>(&value_)) return *o;
  throw errors::TypeMismatch();
}

}  // namespace mx
