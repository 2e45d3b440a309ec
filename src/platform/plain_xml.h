// A quick well-formedness test for the plain XML that the document builders
// write: ASCII text made of elements with attributes, character data and the
// five predefined entity references, one root element with blanks around it.
// It is sure, not complete: true only for text that is well-formed; false for
// any text it cannot vouch for (another construct such as a comment, a
// character reference or a byte outside ASCII, or an error), which expat
// then reads in full. Expat stays the judge of every text this test does
// not accept, and the only source of error messages and line numbers.
#ifndef MX_PLATFORM_PLAIN_XML_H_
#define MX_PLATFORM_PLAIN_XML_H_

#include <string_view>

namespace mx {

bool IsPlainWellFormedXml(std::string_view text);

}  // namespace mx

#endif  // MX_PLATFORM_PLAIN_XML_H_
