// The TFLD element of a legacy conversion-object document. A target with a
// data dictionary is described as the data-dictionary class describes it,
// with the legacy class's differences: combined fields carry no domain
// details, only a null domain goes without its lookup, and dates and times
// get fixed initial values. A target that is itself a legacy source (the
// run's target-source flag) is described from its layout in qxlgy150.
// Filling the element also fills the field store for the dump builder.
#ifndef MX_DICTIONARY_LEGACY_FIELD_TAG_H_
#define MX_DICTIONARY_LEGACY_FIELD_TAG_H_

#include <string>

#include "context/build_context.h"
#include "context/legacy_run_facts.h"

namespace mx::legacy {

// *text = the TFLD element of the table, from the data dictionary of
// `application`, or from the legacy layout when facts.target_source is set.
// Errors are reported in the legacy class's words and give False.
[[nodiscard]] bool Construct_Field_Tag(
    BuildContext& ctx, const LegacyRunFacts& facts,
    const std::string& application, const std::string& package,
    const std::string& module, const std::string& table, std::string* text);

// *text = the TFLD element of a legacy table or file: one line per field of
// qxlgy150 in seqn order, typed by dtyp as read and as long as epos - spos
// ("0" when either is null). Error 112 when the layout has no field; a null
// dtyp fails too. Errors are reported and give False.
[[nodiscard]] bool Construct_Legacy_File_Field_Tag(
    BuildContext& ctx, const std::string& application,
    const std::string& package, const std::string& module,
    const std::string& table, std::string* text);

}  // namespace mx::legacy

#endif  // MX_DICTIONARY_LEGACY_FIELD_TAG_H_
