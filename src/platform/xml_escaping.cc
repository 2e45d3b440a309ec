// Escaping of repository text for element content. Both forms are plain
// replacements done in one pass: replacing "&" first and then "<", ">" (and
// the double quote) one after the other gives the same text as mapping each
// character once, because no replacement produces a character that a later
// step replaces.
#include "platform/xml_escaping.h"

namespace mx {

namespace {

// The entity of `c`, or nullptr when `c` stays as it is.
const char* EntityOf(char c, bool escape_quote) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return escape_quote ? "&quot;" : nullptr;
    default:
      return nullptr;
  }
}

// Runs of characters that stay are copied whole.
std::string EscapeEntities(std::string_view text, bool escape_quote) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  size_t copied = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (const char* entity = EntityOf(text[i], escape_quote)) {
      out.append(text.substr(copied, i - copied)).append(entity);
      copied = i + 1;
    }
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace

std::string EscapeThreeEntities(std::string_view text) {
  return EscapeEntities(text, /*escape_quote=*/false);
}

std::string Escape_XML_Text(std::string_view text) {
  return EscapeEntities(text, /*escape_quote=*/true);
}

}  // namespace mx
