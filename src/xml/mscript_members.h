// The group of an M-script: the parent that qxmap170 ties a member to, and
// the parent's members. Shared by the M-script documents of both classes;
// the data-dictionary class fits a table number to 3 characters, the legacy
// class keeps it at its full length.
#ifndef MX_XML_MSCRIPT_MEMBERS_H_
#define MX_XML_MSCRIPT_MEMBERS_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "movx20xmlgen/error.h"

namespace mx {

// The child's inputs with the parent's package, module and table number.
// Error 991 when the child has no parent.
ConversionObject FindParent(BuildContext& ctx, const ConversionObject& child,
                            TableNumberWidth width);

// The member codes of the parent, joined with "," in the order returned.
std::string MemberList(BuildContext& ctx, const ConversionObject& parent);

// Error 1011: an M-script without members would be written as an empty
// document whose members all count as written.
VbError NoMembersError(const ConversionObject& parent);

// The table number of a member code: characters 6 to 8, or 6 to the end.
std::string MemberTableNumber(const std::string& code, TableNumberWidth width);

}  // namespace mx

#endif  // MX_XML_MSCRIPT_MEMBERS_H_
