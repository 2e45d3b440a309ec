// The PRE-CONDITIONS element of a legacy conversion-object document: the
// pre-condition text after the legacy rule rewriting and the section
// translation, as the translation leaves it (it is escaped already by the
// legacy formatter), between the element's two tags. Unlike the
// data-dictionary element it counts no migrate statements: the legacy
// main query is not bounded by them.
#ifndef MX_XML_LEGACY_PRECONDITIONS_H_
#define MX_XML_LEGACY_PRECONDITIONS_H_

#include <string>

#include "context/build_context.h"
#include "context/legacy_run_facts.h"

namespace mx::legacy {

// `stbl`, the object's source-table list, is not needed by the translation
// of a section text. When the rewriting or the
// translation fails, error 125 is reported as TAB TAB "ERROR:" N " - "
// description CR LF (after the failing step's own report), *text is empty
// and the result is False.
[[nodiscard]] bool Construct_PreConditions_Tag(
    BuildContext& ctx, const LegacyRunFacts& facts,
    const std::string& precondition, const std::string& sapp,
    const std::string& tapp, const std::string& stbl, std::string* text);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_PRECONDITIONS_H_
