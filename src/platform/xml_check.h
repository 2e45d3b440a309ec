// The well-formedness test of document sections: a real XML parser (expat)
// reads the text and reports the first error with its line. The text is
// Windows-1252; it is converted before parsing, so every byte is a character.
#ifndef MX_PLATFORM_XML_CHECK_H_
#define MX_PLATFORM_XML_CHECK_H_

#include <string>
#include <string_view>

namespace mx {

struct XmlCheck {
  bool well_formed = false;
  bool plain = false;   // well formed by the quick test of plain_xml.h
  std::string message;  // expat's XML_ErrorString, empty when well formed
  long line = 0;        // expat's line number of the error
};

XmlCheck CheckWellFormed(std::string_view text);

}  // namespace mx

#endif  // MX_PLATFORM_XML_CHECK_H_
