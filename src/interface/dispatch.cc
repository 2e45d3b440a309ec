#include "movx20xmlgen/dispatch.h"

#include "movx20xmlgen/cls_xml_generator.h"
#include "movx20xmlgen/cls_xml_legacy.h"
#include "movx20xmlgen/error.h"
#include "movx20xmlgen/record_objects.h"
#include "platform/vb_text.h"

namespace mx {

namespace {

constexpr char kNotSupported[] =
    "Object doesn't support this property or method: ";

VbError MemberNotFound(std::string_view source, std::string_view what) {
  return VbError(errors::kMemberNotFound, std::string(source),
                 kNotSupported + std::string(what));
}

VbError WrongArguments(std::string_view source) {
  return VbError(errors::kWrongArguments, std::string(source),
                 "Wrong number of arguments or invalid property assignment");
}

VbError NotReadable(std::string_view source) {
  return VbError(errors::kPropertyNotReadable, std::string(source),
                 "Property let procedure not defined and property get "
                 "procedure did not return an object");
}

// The handler that answers `kind`: a read may be answered by a method (the
// platform's callers ask for "method or get" alike), a write only by the
// matching setter.
const MemberInfo::Handler* HandlerFor(const MemberInfo& member,
                                      InvokeKind kind) {
  switch (kind) {
    case InvokeKind::kMethod:
    case InvokeKind::kPropertyGet:
      if (member.call) return &member.call;
      if (member.get) return &member.get;
      return nullptr;
    case InvokeKind::kPropertyPut:
      return member.put ? &member.put : nullptr;
    case InvokeKind::kPropertyPutRef:
      return member.putref ? &member.putref : nullptr;
  }
  return nullptr;
}

size_t ArgumentCount(const MemberInfo& member,
                     const MemberInfo::Handler& handler) {
  if (&handler == &member.call) return member.params.size();
  if (&handler == &member.get) return 0;
  return 1;  // the value of a put or putref
}

}  // namespace

MemberTable::MemberTable(std::vector<MemberInfo> members)
    : members_(std::move(members)) {}

const MemberInfo* MemberTable::Find(std::string_view name) const {
  const std::string wanted = vb::LCase(name);
  for (const MemberInfo& m : members_) {
    if (vb::LCase(m.name) == wanted) return &m;
  }
  return nullptr;
}

const MemberInfo* MemberTable::Find(int dispid) const {
  if (dispid < 1 || static_cast<size_t>(dispid) > members_.size()) {
    return nullptr;
  }
  return &members_[static_cast<size_t>(dispid) - 1];
}

Variant DispatchObject::Invoke(std::string_view name, InvokeKind kind,
                               std::vector<Variant>& args) {
  const MemberInfo* member = Members().Find(name);
  if (member == nullptr) throw MemberNotFound(ProgId(), name);
  return InvokeMember(*member, kind, args);
}

Variant DispatchObject::Invoke(int dispid, InvokeKind kind,
                               std::vector<Variant>& args) {
  const MemberInfo* member = Members().Find(dispid);
  if (member == nullptr) {
    throw MemberNotFound(ProgId(), "dispatch id " + std::to_string(dispid));
  }
  return InvokeMember(*member, kind, args);
}

Variant DispatchObject::InvokeMember(const MemberInfo& member, InvokeKind kind,
                                     std::vector<Variant>& args) {
  const MemberInfo::Handler* handler = HandlerFor(member, kind);
  if (handler == nullptr) {
    bool read = kind == InvokeKind::kMethod || kind == InvokeKind::kPropertyGet;
    if (read) throw NotReadable(ProgId());
    throw WrongArguments(ProgId());
  }
  if (args.size() != ArgumentCount(member, *handler)) {
    throw WrongArguments(ProgId());
  }
  return (*handler)(*this, args);
}

Variant DispatchObject::GetProperty(std::string_view name) {
  std::vector<Variant> args;
  return Invoke(name, InvokeKind::kPropertyGet, args);
}

void DispatchObject::PutProperty(std::string_view name, Variant value) {
  std::vector<Variant> args{std::move(value)};
  Invoke(name, InvokeKind::kPropertyPut, args);
}

void DispatchObject::PutRefProperty(std::string_view name, Variant value) {
  std::vector<Variant> args{std::move(value)};
  Invoke(name, InvokeKind::kPropertyPutRef, args);
}

std::shared_ptr<DispatchObject> CreateObject(std::string_view progid) {
  const std::string wanted = vb::LCase(progid);
  auto is = [&wanted](std::string_view id) { return wanted == vb::LCase(id); };
  if (is(ClsXMLGenerator::kProgId)) return std::make_shared<ClsXMLGenerator>();
  if (is(ClsXMLLegacy::kProgId)) return std::make_shared<ClsXMLLegacy>();
  if (is(CDumpInfoObject::kProgId)) return std::make_shared<CDumpInfoObject>();
  if (is(CFieldInfoObject::kProgId)) {
    return std::make_shared<CFieldInfoObject>();
  }
  throw VbError(errors::kCannotCreateObject, "MOVX20XMLGenerator",
                "ActiveX component can't create object");
}

const MemberTable& TextStreamObject::Members() const {
  using B = MemberTableBuilder<TextStreamObject>;
  static const MemberTable* table = new MemberTable(
      B().Method("Write", &TextStreamObject::Write, {"Text"})
          .Method("WriteLine", &TextStreamObject::WriteLine, {"Text"})
          .Method("WriteBlankLines", &TextStreamObject::WriteBlankLines,
                  {"Lines"})
          .Method("Close", &TextStreamObject::Close, {})
          .Build());
  return *table;
}

std::shared_ptr<TextStream> TextStreamOf(const Variant& value) {
  const Variant::Object& object = value.ToObject();
  if (object == nullptr) return nullptr;
  auto stream = std::dynamic_pointer_cast<TextStreamObject>(object);
  if (stream == nullptr) throw errors::TypeMismatch();
  return stream->stream();
}

}  // namespace mx
