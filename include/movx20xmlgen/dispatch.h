// The dispatch layer: how a caller that knows only names reaches the public
// classes. Every automation object derives from DispatchObject and describes
// its members in a MemberTable: name, dispatch id (1, 2, ... in table order,
// one id for the get and put of a read/write property), what it can be asked
// for (get, put, putref, call) and its parameters, by value or by reference.
//
// Invoke converts the Variant arguments to the declared types (16-bit
// integer overflow is error 6, a text that is not a number 13, a null 94),
// calls the member and writes by-reference arguments back into the argument
// vector. Failures of the dispatch itself are raised as VbError with the
// object's ProgID as source:
//   438  no such member
//   450  wrong number of arguments, or a write the member does not accept
//   451  a read of a write-only property
//   429  CreateObject with an unknown ProgID
// Errors of the member itself pass through unchanged.
#ifndef MOVX20XMLGEN_DISPATCH_H_
#define MOVX20XMLGEN_DISPATCH_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "movx20xmlgen/text_stream.h"
#include "movx20xmlgen/variant.h"

namespace mx {

namespace errors {
inline constexpr int32_t kCannotCreateObject = 429;
inline constexpr int32_t kWrongArguments = 450;
inline constexpr int32_t kPropertyNotReadable = 451;
}  // namespace errors

// What the caller asks of a member (the values of the platform's flags).
enum class InvokeKind {
  kMethod = 1,
  kPropertyGet = 2,
  kPropertyPut = 4,
  kPropertyPutRef = 8,
};

// The declared type of a parameter or property value.
enum class VarType { kInt16, kInt32, kBool, kText, kVariant, kObject };

struct ParamInfo {
  std::string name;
  VarType type = VarType::kVariant;
  bool by_ref = false;
};

class DispatchObject;

// One member of a class. A handler is empty when the member cannot be asked
// for that.
struct MemberInfo {
  using Handler =
      std::function<Variant(DispatchObject&, std::vector<Variant>&)>;

  std::string name;
  int dispid = 0;
  // A method's parameters; for a property, the value it is set to.
  std::vector<ParamInfo> params;
  Handler get, put, putref, call;
};

class MemberTable {
 public:
  explicit MemberTable(std::vector<MemberInfo> members);

  // Case-insensitive; nullptr when there is no such member.
  const MemberInfo* Find(std::string_view name) const;
  const MemberInfo* Find(int dispid) const;
  const std::vector<MemberInfo>& members() const { return members_; }

 private:
  std::vector<MemberInfo> members_;
};

// The base of every automation object.
class DispatchObject {
 public:
  virtual ~DispatchObject() = default;

  // The identifier the class is created under; the source of its errors.
  virtual std::string_view ProgId() const = 0;
  virtual const MemberTable& Members() const = 0;

  const MemberInfo* FindMember(std::string_view name) const {
    return Members().Find(name);
  }

  Variant Invoke(std::string_view name, InvokeKind kind,
                 std::vector<Variant>& args);
  Variant Invoke(int dispid, InvokeKind kind, std::vector<Variant>& args);

  // Shorthands for one property.
  Variant GetProperty(std::string_view name);
  void PutProperty(std::string_view name, Variant value);
  void PutRefProperty(std::string_view name, Variant value);

 private:
  Variant InvokeMember(const MemberInfo& member, InvokeKind kind,
                       std::vector<Variant>& args);
};

// Creates one of the four public classes by ProgID (any case); error 429 for
// any other.
std::shared_ptr<DispatchObject> CreateObject(std::string_view progid);

// A text stream as an automation object: what a caller hands to LogFileName
// by reference. Write, WriteLine, WriteBlankLines, Close.
class TextStreamObject : public DispatchObject {
 public:
  static constexpr char kProgId[] = "Scripting.TextStream";

  explicit TextStreamObject(std::shared_ptr<TextStream> stream)
      : stream_(std::move(stream)) {}

  const std::shared_ptr<TextStream>& stream() const { return stream_; }

  void Write(const std::string& text) { stream_->Write(text); }
  void WriteLine(const std::string& text) { stream_->WriteLine(text); }
  void WriteBlankLines(int32_t lines) { stream_->WriteBlankLines(lines); }
  void Close() { stream_->Close(); }

  std::string_view ProgId() const override { return kProgId; }
  const MemberTable& Members() const override;

 private:
  std::shared_ptr<TextStream> stream_;
};

// The stream of a TextStreamObject argument; an object reference to nothing
// gives none. Any other value is error 13.
std::shared_ptr<TextStream> TextStreamOf(const Variant& value);

namespace dispatch_internal {

template <class>
inline constexpr bool kAlwaysFalse = false;

template <class A>
constexpr VarType TypeOf() {
  if constexpr (std::is_same_v<A, bool>)
    return VarType::kBool;
  else if constexpr (std::is_same_v<A, int16_t>)
    return VarType::kInt16;
  else if constexpr (std::is_same_v<A, int32_t> || std::is_enum_v<A>)
    return VarType::kInt32;
  else if constexpr (std::is_same_v<A, std::string>)
    return VarType::kText;
  else if constexpr (std::is_same_v<A, std::shared_ptr<TextStream>>)
    return VarType::kObject;
  else
    return VarType::kVariant;
}

template <class A>
A FromVariant(const Variant& v) {
  if constexpr (std::is_same_v<A, bool>)
    return v.ToBool();
  else if constexpr (std::is_same_v<A, int16_t>)
    return v.ToInt16();
  else if constexpr (std::is_same_v<A, int32_t>)
    return v.ToInt32();
  else if constexpr (std::is_enum_v<A>)
    return static_cast<A>(v.ToInt32());
  else if constexpr (std::is_same_v<A, std::string>)
    return v.ToText();
  else if constexpr (std::is_same_v<A, std::shared_ptr<TextStream>>)
    return TextStreamOf(v);
  else if constexpr (std::is_same_v<A, Variant>)
    return v;
  else
    static_assert(kAlwaysFalse<A>, "no conversion for this type");
}

template <class R>
Variant ToVariant(const R& r) {
  if constexpr (std::is_same_v<R, int16_t> || std::is_enum_v<R>)
    return Variant(static_cast<int32_t>(r));
  else
    return Variant(r);
}

// A parameter declared as a non-const lvalue reference is passed by
// reference: the caller's argument receives the value it ends with.
template <class A>
inline constexpr bool kByRef = std::is_lvalue_reference_v<A> &&
                               !std::is_const_v<std::remove_reference_t<A>>;

template <class A>
ParamInfo ParamOf(std::string_view name) {
  return ParamInfo{std::string(name), TypeOf<std::decay_t<A>>(), kByRef<A>};
}

template <class A, class V>
void WriteBack(Variant& arg, const V& value) {
  if constexpr (kByRef<A>) arg = ToVariant(value);
}

template <class T, class C, class R, class... A, size_t... I>
Variant CallMethod(T& self, R (C::*method)(A...), std::vector<Variant>& args,
                   std::index_sequence<I...>) {
  (void)args;
  std::tuple<std::decay_t<A>...> values{
      FromVariant<std::decay_t<A>>(args[I])...};
  if constexpr (std::is_void_v<R>) {
    (self.*method)(std::get<I>(values)...);
    (WriteBack<A>(args[I], std::get<I>(values)), ...);
    return Variant();
  } else {
    R result = (self.*method)(std::get<I>(values)...);
    (WriteBack<A>(args[I], std::get<I>(values)), ...);
    return ToVariant(result);
  }
}

}  // namespace dispatch_internal

// Builds the member table of class T from its C++ members, in dispatch-id
// order. Members of a base class of T may be named.
template <class T>
class MemberTableBuilder {
 public:
  enum class Pass { kByValue, kByReference };

  // A write-only property.
  template <class C, class A>
  MemberTableBuilder& Put(std::string_view name, void (C::*put)(A),
                          Pass pass = Pass::kByValue) {
    static_assert(std::is_base_of_v<C, T>);
    MemberInfo& m = Add(name);
    m.params.push_back(dispatch_internal::ParamOf<A>(name));
    m.params.back().by_ref = pass == Pass::kByReference;
    m.put = [put](DispatchObject& self, std::vector<Variant>& args) {
      (static_cast<T&>(self).*
       put)(dispatch_internal::FromVariant<std::decay_t<A>>(args[0]));
      return Variant();
    };
    return *this;
  }

  // A read-only property.
  template <class C, class R>
  MemberTableBuilder& Get(std::string_view name, R (C::*get)() const) {
    static_assert(std::is_base_of_v<C, T>);
    MemberInfo& m = Add(name);
    m.get = [get](DispatchObject& self, std::vector<Variant>&) {
      return dispatch_internal::ToVariant((static_cast<T&>(self).*get)());
    };
    return *this;
  }

  // An object property set by reference.
  template <class C, class A>
  MemberTableBuilder& PutRef(std::string_view name, void (C::*putref)(A)) {
    static_assert(std::is_base_of_v<C, T>);
    MemberInfo& m = Add(name);
    m.params.push_back(ParamInfo{std::string(name), VarType::kObject, true});
    m.putref = [putref](DispatchObject& self, std::vector<Variant>& args) {
      (static_cast<T&>(self).*
       putref)(dispatch_internal::FromVariant<std::decay_t<A>>(args[0]));
      return Variant();
    };
    return *this;
  }

  // A method; `names` are its parameter names, in order.
  template <class C, class R, class... A>
  MemberTableBuilder& Method(
      std::string_view name, R (C::*method)(A...),
      [[maybe_unused]] std::array<std::string_view, sizeof...(A)> names) {
    static_assert(std::is_base_of_v<C, T>);
    MemberInfo& m = Add(name);
    [[maybe_unused]] size_t i = 0;
    (m.params.push_back(dispatch_internal::ParamOf<A>(names[i++])), ...);
    m.call = [method](DispatchObject& self, std::vector<Variant>& args) {
      return dispatch_internal::CallMethod(static_cast<T&>(self), method, args,
                                           std::index_sequence_for<A...>{});
    };
    return *this;
  }

  // A read/write field of the record that T::record() returns.
  template <class R, class F>
  MemberTableBuilder& Field(std::string_view name, F R::*field) {
    MemberInfo& m = Add(name);
    m.params.push_back(dispatch_internal::ParamOf<F>(name));
    m.get = [field](DispatchObject& self, std::vector<Variant>&) {
      return dispatch_internal::ToVariant(static_cast<T&>(self).record().*
                                          field);
    };
    m.put = [field](DispatchObject& self, std::vector<Variant>& args) {
      static_cast<T&>(self).record().*field =
          dispatch_internal::FromVariant<F>(args[0]);
      return Variant();
    };
    return *this;
  }

  MemberTable Build() { return MemberTable(std::move(members_)); }

 private:
  MemberInfo& Add(std::string_view name) {
    MemberInfo& m = members_.emplace_back();
    m.name = std::string(name);
    m.dispid = static_cast<int>(members_.size());
    return m;
  }

  std::vector<MemberInfo> members_;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_DISPATCH_H_
