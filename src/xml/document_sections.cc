#include "xml/document_sections.h"

#include "platform/error.h"
#include "platform/vb_text.h"
#include "platform/xml_check.h"

namespace mx {

namespace {

constexpr int32_t kSectionNotWellFormed = 1010;

std::string Wrapped(const char* wrapper, const std::string& text) {
  if (wrapper == nullptr) return text;
  return std::string("<") + wrapper + ">" + text + "</" + wrapper + ">";
}

// A section that fails the check is reported like every other failure of the
// document, naming the section, the table and the parser's complaint.
void CheckSection(const Section& section, const std::string& table_code,
                  const std::string& text) {
  XmlCheck check = CheckWellFormed(Wrapped(section.wrapper, text));
  if (check.well_formed) return;
  throw VbError(kSectionNotWellFormed, "XML Generation",
                std::string("Section ") + section.name + " of " + table_code +
                    " is not well-formed XML: " + check.message + " at line " +
                    std::to_string(check.line));
}

}  // namespace

std::optional<std::string> AppendSections(std::string document,
                                          const std::vector<Section>& sections,
                                          const std::string& table_code) {
  for (const Section& section : sections) {
    std::string text;
    if (!section.build(&text)) return std::nullopt;
    if (vb::IsBlank(text)) continue;
    CheckSection(section, table_code, text);
    document += text;
  }
  return document;
}

}  // namespace mx
