// The conversion-object document of the data-dictionary class: the root
// element, the INFO section, PRE-CONDITIONS, the main query, FUNCTION and the
// dumps, each section tested for well-formedness, written whole to
// XMLPath/cpaccmod/x<table code>0.XML. No file is written unless every
// section succeeded.
#ifndef MX_XML_CREATE_XML_H_
#define MX_XML_CREATE_XML_H_

#include <string>

#include "interface/generator_context.h"
#include "xml/conversion_object.h"

namespace mx {

bool Is_Well_Formed(const std::string& text);

}  // namespace mx

namespace mx::dd {

bool Create_XML(GeneratorContext& ctx, const ConversionObject& object);

bool Construct_Info_Tag(GeneratorContext& ctx, const ConversionObject& object,
                        std::string* text);

// Sets the migrate count of the document as a side effect.
bool Construct_PreConditions_Tag(GeneratorContext& ctx, const std::string& sapp,
                                 const std::string& tapp,
                                 const std::string& precondition,
                                 std::string* text);

// The number of words containing "migrate" (any case) minus one.
int CountMigrates(const std::string& escaped_text);

}  // namespace mx::dd

#endif  // MX_XML_CREATE_XML_H_
