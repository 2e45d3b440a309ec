// How a document is put together from its sections: each builder returns its
// text and a success flag; a text of blanks only adds nothing; any other text
// is tested for well-formedness (inside a wrapper element where a section is
// several sibling elements) and appended as built. Shared by the
// conversion-object and the M-script documents of the data-dictionary class.
#ifndef MX_XML_DOCUMENT_SECTIONS_H_
#define MX_XML_DOCUMENT_SECTIONS_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mx {

struct Section {
  const char* name;     // INFO, PRE-CONDITIONS, MAINQUERY, FUNCTION, DUMPS
  const char* wrapper;  // element the text is tested in; nullptr for none
  std::function<bool(std::string*)> build;
};

// The sections appended to `document` in order. nullopt when a builder
// failed (it has reported why); a section that is not well-formed raises
// error 1010 naming the section and `table_code`.
std::optional<std::string> AppendSections(std::string document,
                                          const std::vector<Section>& sections,
                                          const std::string& table_code);

}  // namespace mx

#endif  // MX_XML_DOCUMENT_SECTIONS_H_
