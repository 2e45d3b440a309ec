// The numbered error of the component: a number, a source and a description,
// raised as an exception and caught by the operation that reports it. The
// factories below give platform failures the numbers and descriptions that the
// original platform gave, so that log lines read the same.
#ifndef MOVX20XMLGEN_ERROR_H_
#define MOVX20XMLGEN_ERROR_H_

#include <cstdint>
#include <stdexcept>
#include <string>

namespace mx {

class VbError : public std::runtime_error {
 public:
  // An empty description becomes the platform's text for a numbered error
  // raised without one.
  VbError(int32_t number, std::string source, std::string description);

  int32_t number() const { return number_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
};

namespace errors {

inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kUserInterrupt = 18;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kFileAccess = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kKeyExists = 457;
inline constexpr int32_t kItemNotFound = 3265;
inline constexpr int32_t kQueryRefused = -2147217900;
inline constexpr int32_t kCannotConnect = -2147467259;
// A value the provider could not convert (ADO's "multiple-step" error); we
// raise it for repository text that is not valid in the repository encoding.
inline constexpr int32_t kConversionFailed = -2147217887;
// The dispatch layer's "member not found" (DISP_E_MEMBERNOTFOUND).
inline constexpr int32_t kMemberNotFound = 438;

inline constexpr const char kDefaultDescription[] =
    "Application-defined or object-defined error";

VbError Overflow();
VbError SubscriptOutOfRange();
VbError TypeMismatch();
VbError InvalidUseOfNull();
VbError KeyExists();
VbError ItemNotFound();
VbError PathNotFound();
VbError FileAccess();
VbError PermissionDenied();
// A run stopped on request after `done` of its `total` objects.
VbError Interrupted(int32_t done, int32_t total);

}  // namespace errors
}  // namespace mx

#endif  // MOVX20XMLGEN_ERROR_H_
