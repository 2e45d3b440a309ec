// CDumpInfo and CFieldInfo as automation objects: each wraps its record and
// makes every field a read/write property, dispatch ids in the order the
// fields are declared. C++ callers use record() directly.
#ifndef MOVX20XMLGEN_RECORD_OBJECTS_H_
#define MOVX20XMLGEN_RECORD_OBJECTS_H_

#include "movx20xmlgen/dispatch.h"
#include "movx20xmlgen/records.h"

namespace mx {

class CDumpInfoObject : public DispatchObject {
 public:
  static constexpr char kProgId[] = "MOVX20XMLGenerator.CDumpInfo";

  CDumpInfo& record() { return record_; }
  const CDumpInfo& record() const { return record_; }

  std::string_view ProgId() const override { return kProgId; }
  const MemberTable& Members() const override;

 private:
  CDumpInfo record_;
};

class CFieldInfoObject : public DispatchObject {
 public:
  static constexpr char kProgId[] = "MOVX20XMLGenerator.CFieldInfo";

  CFieldInfo& record() { return record_; }
  const CFieldInfo& record() const { return record_; }

  std::string_view ProgId() const override { return kProgId; }
  const MemberTable& Members() const override;

 private:
  CFieldInfo record_;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_RECORD_OBJECTS_H_
