// The INCLUDE, VAR and FUNCTION elements of a legacy conversion object.
//
// The stored variable text may pull functions out of the function library
// with include lines: they are resolved first (the functions are collected
// for the FUNCTION element, and the tables they declare join the object's
// source list), then the text is taken apart as the data-dictionary class
// does it. Its declarations are what rule rewriting reads, what the query
// translation reads (as a lower-case copy), and, translated and escaped, the
// VAR element (a split run adds nothing to it: the legacy range code needs
// no declarations). The FUNCTION element holds the collected functions
// followed by the object's own, rewritten, translated and escaped, and in a
// split run the range routines (GetFromToRange) that the range code calls.
#ifndef MX_XML_LEGACY_VARIABLE_TAG_H_
#define MX_XML_LEGACY_VARIABLE_TAG_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "context/legacy_run_facts.h"

namespace mx::legacy {

// *text = "<INCLUDE>" + include lines + "</INCLUDE>" + "<VAR>" + translated,
// escaped declarations + " </VAR>". Sets the document's declared variables,
// their translation copy and (when the text is not blank) the collected
// function text; *stbl grows by the tables the included functions declare.
// A failed include (error 1000) is reported and gives False, *stbl as it
// was; a failed translation gives False (the translation has reported it).
[[nodiscard]] bool Construct_Variable_Tag(BuildContext& ctx,
                                          const LegacyRunFacts& facts,
                                          const ConversionObject& object,
                                          std::string* stbl, std::string* text);

// The translation copy of the declarations: lower case, every "dim" and
// every CR LF a blank.
std::string DeclarationsForTranslation(const std::string& declarations);

// Appends the FUNCTION element to *text: the collected function text, then
// CR LF and the object's own function text (qxmap160), rewritten, translated
// and escaped; in a split run CR LF and the range routines follow the
// translated text, or stand alone when there is no function text. It also
// becomes the collected function text. Nothing is appended when there is
// no function text and the run is not split. A failed rewrite or
// translation is error 125 with the failure's own description; errors are
// reported as "ERROR in Construct_Function_Tag :- " lines and give False.
[[nodiscard]] bool Construct_Function_Tag(BuildContext& ctx,
                                          const LegacyRunFacts& facts,
                                          const ConversionObject& object,
                                          const std::string& stbl,
                                          std::string* text);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_VARIABLE_TAG_H_
