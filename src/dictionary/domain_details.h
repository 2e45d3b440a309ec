// Domain lookups of the data dictionary (qxddi220): the details of a domain
// by package + domain code, and the details of a field's domain by its
// qualified name.
#ifndef MX_DICTIONARY_DOMAIN_DETAILS_H_
#define MX_DICTIONARY_DOMAIN_DETAILS_H_

#include <cstdint>
#include <string>

#include "context/build_context.h"

namespace mx {

struct DomainDetails {
  std::string type;  // upper-cased
  std::string length;
  std::string digits_before;
  std::string case_conversion;
  std::string alignment;
  std::string digits_after;
};

// The lookup itself: raises error 114 when the domain is not there, and the
// repository's own errors.
DomainDetails Read_Domain_Details(BuildContext& ctx,
                                  const std::string& application,
                                  const std::string& domain);

// Error 114 when the domain is not there; reported in the class's words.
[[nodiscard]] bool Get_Domain_Details(BuildContext& ctx,
                                      const std::string& application,
                                      const std::string& domain,
                                      DomainDetails* details);

struct FieldDomainDetails {
  std::string case_conversion;
  std::string alignment;
  std::string type;
  int16_t length = 0;
};

// A field that is not found is a success with empty case and alignment and
// type and length left as they were.
[[nodiscard]] bool Get_Field_Domain_Details(BuildContext& ctx,
                                            const std::string& qualified_field,
                                            const std::string& application,
                                            FieldDomainDetails* details);

}  // namespace mx

#endif  // MX_DICTIONARY_DOMAIN_DETAILS_H_
