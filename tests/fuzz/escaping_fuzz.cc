// The two escapings of element text, once and twice (a text escaped when it
// is read and again when it is written): no "<" or ">" is left bare, every
// "&" opens an entity, and undoing the escaping as often as it was done
// gives the text back.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/vb_text.h"
#include "platform/xml_escaping.h"

namespace {

// The inverse of one escaping: "&amp;" last, so that an escaped entity
// comes back as the entity it was.
std::string Unescape(std::string_view text) {
  std::string s = mx::vb::Replace(text, "&quot;", "\"");
  s = mx::vb::Replace(s, "&lt;", "<");
  s = mx::vb::Replace(s, "&gt;", ">");
  return mx::vb::Replace(s, "&amp;", "&");
}

void CheckEscaping(const std::string& text, bool legacy) {
  const auto escape = [legacy](std::string_view s) {
    return legacy ? mx::Escape_XML_Text(s) : mx::EscapeThreeEntities(s);
  };
  const std::string once = escape(text);
  const std::string twice = escape(once);
  if (legacy) {
    mx::fuzz::Check(
        mx::fuzz::OnlyEntities(once, {"&amp;", "&lt;", "&gt;", "&quot;"}) &&
            once.find('"') == std::string::npos,
        "four-entity escaping leaves nothing bare");
  } else {
    mx::fuzz::Check(mx::fuzz::OnlyEntities(once, {"&amp;", "&lt;", "&gt;"}),
                    "three-entity escaping leaves nothing bare");
    mx::fuzz::Check(std::count(once.begin(), once.end(), '"') ==
                        std::count(text.begin(), text.end(), '"'),
                    "three-entity escaping keeps double quotes");
  }
  mx::fuzz::Check(
      mx::fuzz::OnlyEntities(twice, {"&amp;", "&lt;", "&gt;", "&quot;"}),
      "escaping twice leaves nothing bare");
  mx::fuzz::Check(Unescape(once) == text, "one escaping undoes");
  mx::fuzz::Check(Unescape(Unescape(twice)) == text, "two escapings undo");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mx::fuzz::LinearTimeBudget budget(size, 20000, 350);
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckEscaping(text, /*legacy=*/false);
  CheckEscaping(text, /*legacy=*/true);
  budget.Finish();
  return 0;
}
