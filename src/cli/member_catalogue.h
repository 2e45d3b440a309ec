// The catalogue of a class's public members (call --list), read from the
// class's own member table: dispatch id, properties with their type and
// what may be done with them, methods with their parameters (type, by value
// or by reference) and what they return, in the words of the original
// platform (Integer, Long, String, ByRef, ...).
#ifndef MX_CLI_MEMBER_CATALOGUE_H_
#define MX_CLI_MEMBER_CATALOGUE_H_

#include <string>

#include "movx20xmlgen/dispatch.h"

namespace mx::cli {

// One line per member, in dispatch-id order, after a line naming the class.
std::string MemberCatalogue(const DispatchObject& object);

// "Integer", "Long", "Boolean", "String", "Variant", "Object".
const char* TypeName(VarType type);

}  // namespace mx::cli

#endif  // MX_CLI_MEMBER_CATALOGUE_H_
