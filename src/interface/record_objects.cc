#include "movx20xmlgen/record_objects.h"

namespace mx {

const MemberTable& CDumpInfoObject::Members() const {
  using R = CDumpInfo;
  static const MemberTable* table =
      new MemberTable(MemberTableBuilder<CDumpInfoObject>()
                          .Field("IntDumpNo", &R::IntDumpNo)
                          .Field("StrTargetTableName", &R::StrTargetTableName)
                          .Field("StrFieldName", &R::StrFieldName)
                          .Field("StrMapRule", &R::StrMapRule)
                          .Field("IntFieldType", &R::IntFieldType)
                          .Build());
  return *table;
}

const MemberTable& CFieldInfoObject::Members() const {
  using R = CFieldInfo;
  static const MemberTable* table =
      new MemberTable(MemberTableBuilder<CFieldInfoObject>()
                          .Field("StrTableName", &R::StrTableName)
                          .Field("StrFieldName", &R::StrFieldName)
                          .Field("StrDomainName", &R::StrDomainName)
                          .Field("StrInitialValue", &R::StrInitialValue)
                          .Field("StrDefaultValue", &R::StrDefaultValue)
                          .Field("IntDepth", &R::IntDepth)
                          .Field("StrFieldCase", &R::StrFieldCase)
                          .Field("StrFieldAlign", &R::StrFieldAlign)
                          .Field("IntFieldLength", &R::IntFieldLength)
                          .Field("StrFieldType", &R::StrFieldType)
                          .Field("StrMandField", &R::StrMandField)
                          .Build());
  return *table;
}

}  // namespace mx
