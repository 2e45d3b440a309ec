// The index elements of a conversion-object document: IND (the indexes of the
// target table, written word for word by both generator classes), and the
// SRCFIELD and SRCINDEX lists of the source tables that the data-dictionary
// class adds to its INFO section.
#ifndef MX_DICTIONARY_INDEX_TAG_H_
#define MX_DICTIONARY_INDEX_TAG_H_

#include <string>

#include "context/build_context.h"

namespace mx {

// The IND element: one line per index of the target table, in the order the
// repository returns them; "<IND></IND>" when the table has none. Errors go
// to the caller, so that each class can report them in its own words.
std::string IndexElement(BuildContext& ctx, const std::string& application,
                         const std::string& package, const std::string& module,
                         const std::string& table);

}  // namespace mx

namespace mx::dd {

// *text = the IND element. Errors are reported and give False.
[[nodiscard]] bool Construct_Index_Tag(BuildContext& ctx,
                                       const std::string& application,
                                       const std::string& package,
                                       const std::string& module,
                                       const std::string& table,
                                       std::string* text);

// *text = the SRCFIELD element: the qualified names of the plain fields of
// the source tables, each followed by " , ". Errors go to the caller.
[[nodiscard]] bool Construct_Source_Field_Tag(BuildContext& ctx,
                                              const std::string& application,
                                              const std::string& source_tables,
                                              std::string* text);

// *text = the SRCINDEX element: every index of the source tables with its
// parts as qualified names, combined parts expanded into their children.
// Errors are reported and give False; a combined part without children fails
// the element (Get_Child_Field_List has reported it).
[[nodiscard]] bool Construct_Source_Index_Tag(BuildContext& ctx,
                                              const std::string& application,
                                              const std::string& source_tables,
                                              std::string* text);

}  // namespace mx::dd

#endif  // MX_DICTIONARY_INDEX_TAG_H_
