// The two public records, CFieldInfo (one field of a target table, array
// fields one per element) and CDumpInfo (one mapping rule), and the
// enumeration of generation options. Plain data, no behaviour.
#ifndef MOVX20XMLGEN_RECORDS_H_
#define MOVX20XMLGEN_RECORDS_H_

#include <cstdint>
#include <string>

namespace mx {

struct CFieldInfo {
  std::string StrTableName;
  std::string StrFieldName;
  std::string StrDomainName;
  std::string StrInitialValue;
  std::string StrDefaultValue;
  int16_t IntDepth = 0;
  std::string StrFieldCase;
  std::string StrFieldAlign;
  int32_t IntFieldLength = 0;
  std::string StrFieldType;
  std::string StrMandField;
};

struct CDumpInfo {
  int16_t IntDumpNo = 0;
  std::string StrTargetTableName;
  std::string StrFieldName;
  std::string StrMapRule;
  int16_t IntFieldType = 0;
};

enum EnumGenerateXML : int32_t {
  ONLY_DEFAULT_GENERATED = 0,
  ONLY_MAINTAINED = 1,
  ONLY_VERIFIED = 2,
  GENERATED_AND_VERIFIED = 3,
  GENERATED_VERIFIED_MAINTAINED = 4,
  All = 5,
};

}  // namespace mx

#endif  // MOVX20XMLGEN_RECORDS_H_
