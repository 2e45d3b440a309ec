// The conversion-object document of the data-dictionary class: the root
// element, the INFO section, PRE-CONDITIONS, the main query, FUNCTION and the
// dumps, each section tested for well-formedness, written whole to
// XMLPath/cpaccmod/x<table code>0.XML. No file is written unless every
// section succeeded.
#ifndef MX_XML_CREATE_XML_H_
#define MX_XML_CREATE_XML_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "platform/env.h"
#include "xml/document_writer.h"

namespace mx {

[[nodiscard]] bool Is_Well_Formed(const std::string& text);

}  // namespace mx

namespace mx::dd {

// Writes the document through `env`. Errors are reported; False then.
[[nodiscard]] bool Create_XML(BuildContext& ctx, Env& env,
                              const ConversionObject& object);

// The frame of a data-dictionary document rooted at `root`: folder
// cpac + cmod, file "x" + table code + "0.XML", the root element named by the
// upper-cased code with its TYPE and TARGETTABLES attributes.
DocumentPlan DocumentFrame(const ConversionObject& root, const char* type,
                           const std::string& target_tables);

[[nodiscard]] bool Construct_Info_Tag(BuildContext& ctx,
                                      const ConversionObject& object,
                                      std::string* text);

// Sets the migrate count of the document as a side effect.
[[nodiscard]] bool Construct_PreConditions_Tag(BuildContext& ctx,
                                               const std::string& sapp,
                                               const std::string& tapp,
                                               const std::string& precondition,
                                               std::string* text);

// The number of words containing "migrate" (any case) minus one.
int CountMigrates(const std::string& escaped_text);

}  // namespace mx::dd

#endif  // MX_XML_CREATE_XML_H_
