// The conversion codes of the repository (qxlgy115) as one XML text: a
// CONVERSION-CODES root with one element per code, in code order, holding
// its input-output pairs in input order, separated by "~|~".
#ifndef MX_LEGACY_CONVERSION_CODES_H_
#define MX_LEGACY_CONVERSION_CODES_H_

#include <string>

#include "context/build_context.h"

namespace mx::legacy {

// *text = the document, without line breaks; each pair is escaped with its
// separator. A code names its element as it stands, and a value holding
// "~|~" is not protected. An error is reported in the legacy class's words
// and gives False.
[[nodiscard]] bool Create_Conversion_Code_XML(BuildContext& ctx,
                                              std::string* text);

}  // namespace mx::legacy

#endif  // MX_LEGACY_CONVERSION_CODES_H_
