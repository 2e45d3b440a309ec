// The numbered error and the platform errors the component reports.
#include "movx20xmlgen/error.h"

#include <utility>

namespace mx {

VbError::VbError(int32_t number, std::string source, std::string description)
    : std::runtime_error(description.empty() ? errors::kDefaultDescription
                                             : description),
      number_(number),
      source_(std::move(source)),
      description_(description.empty() ? errors::kDefaultDescription
                                       : std::move(description)) {}

namespace errors {

namespace {
constexpr char kRuntimeSource[] = "MOVX20XMLGenerator";
}  // namespace

VbError Overflow() { return VbError(kOverflow, kRuntimeSource, "Overflow"); }
VbError SubscriptOutOfRange() {
  return VbError(kSubscriptOutOfRange, kRuntimeSource,
                 "Subscript out of range");
}
VbError TypeMismatch() {
  return VbError(kTypeMismatch, kRuntimeSource, "Type mismatch");
}
VbError InvalidUseOfNull() {
  return VbError(kInvalidUseOfNull, kRuntimeSource, "Invalid use of Null");
}
VbError KeyExists() {
  return VbError(kKeyExists, "Scripting.Dictionary",
                 "This key is already associated with an element of this "
                 "collection");
}
VbError ItemNotFound() {
  return VbError(kItemNotFound, "ADODB.Recordset",
                 "Item cannot be found in the collection corresponding to the "
                 "requested name or ordinal.");
}
VbError PathNotFound() {
  return VbError(kPathNotFound, kRuntimeSource, "Path not found");
}
VbError FileAccess() {
  return VbError(kFileAccess, kRuntimeSource, "Path/File access error");
}
VbError Interrupted(int32_t done, int32_t total) {
  return VbError(kUserInterrupt, kRuntimeSource,
                 "User interrupt occurred: the run stopped after " +
                     std::to_string(done) + " of " + std::to_string(total) +
                     " objects");
}
VbError PermissionDenied() {
  return VbError(kPermissionDenied, kRuntimeSource, "Permission denied");
}

}  // namespace errors
}  // namespace mx
