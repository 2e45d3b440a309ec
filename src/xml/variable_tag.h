// The INCLUDE and VAR elements of a conversion object, built from its stored
// variable text (and the split declarations), which also set the
// declared-variables text that rule rewriting reads; and its FUNCTION element.
//
// The reading and splitting of the variable text is shared with the legacy
// class; the element builders are the data-dictionary class's own.
#ifndef MX_XML_VARIABLE_TAG_H_
#define MX_XML_VARIABLE_TAG_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"

namespace mx {

// The conditions that pick the conversion object's row in the mapping tables
// (" AND vers = '...' ... AND tflno = '...'"), after its mprf condition.
std::string ObjectConditions(const ConversionObject& object);

// The stored variable text (qxmap120.vari) of the conversion object: the
// first row's text, "" when there is no row or the text is null. Errors go to
// the caller.
std::string Read_Variable_Text(BuildContext& ctx,
                               const ConversionObject& object);

// A variable text taken apart into preprocessor lines and declarations.
struct VariableLines {
  // Every line holding "^" or "#": escaped (four entities), CR and LF
  // removed, trimmed, each followed by CR LF.
  std::string includes;
  // Every other non-empty line as it stands, each followed by CR LF. A line
  // keeps the CR before its LF, so a stored CR LF line ends in CR CR LF.
  std::string declarations;
};

// The markers of a stored variable text resolved: "~^~" is CR LF, "~|~" a
// TAB.
std::string ResolveVariableMarkers(const std::string& text);

// Resolves the markers, splits at LF and sorts the lines.
VariableLines Split_Variable_Text(const std::string& text);

}  // namespace mx

namespace mx::dd {

// *text = the INCLUDE element followed by the VAR element. The declarations
// are the stored variable text, CR LF, then the split declarations of the
// document; with Include2GBCheck each table of `tables` (the table code of
// the document, or the member list of an M-script, comma-separated) adds its
// row-size lines to the includes. The declarations, without frame, become
// the declared-variables text (emptied first on every call, so nothing
// carries over from an earlier document). Errors are reported and give
// False.
[[nodiscard]] bool Construct_Variable_Tag(BuildContext& ctx,
                                          const ConversionObject& object,
                                          const std::string& tables,
                                          std::string* text);

// Appends the FUNCTION element to *text: the conversion object's function
// text, rewritten (empty(), default(), target(...)) and escaped. Nothing is
// appended when the object has no function text. A failed rewrite gives
// False (the rewriting has reported it); other errors are reported and give
// False.
[[nodiscard]] bool Construct_Function_Tag(BuildContext& ctx,
                                          const ConversionObject& object,
                                          std::string* text);

}  // namespace mx::dd

#endif  // MX_XML_VARIABLE_TAG_H_
