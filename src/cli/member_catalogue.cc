#include "cli/member_catalogue.h"

#include <cstdio>

namespace mx::cli {

namespace {

std::string Parameter(const ParamInfo& param) {
  return std::string(param.by_ref ? "ByRef " : "ByVal ") + param.name + " As " +
         TypeName(param.type);
}

std::string MethodLine(const MemberInfo& m) {
  std::string line = m.result ? "Function " : "Sub ";
  line += m.name + "(";
  for (size_t i = 0; i < m.params.size(); ++i) {
    if (i > 0) line += ", ";
    line += Parameter(m.params[i]);
  }
  line += ")";
  if (m.result) line += std::string(" As ") + TypeName(*m.result);
  return line;
}

// What may be done with a property: read, write, set (an object, which is
// always by reference); a written value passed by reference says so.
std::string PropertyLine(const MemberInfo& m) {
  const VarType type =
      m.result ? *m.result
               : (m.params.empty() ? VarType::kVariant : m.params[0].type);
  std::string access;
  auto add = [&access](const char* what) {
    if (!access.empty()) access += ", ";
    access += what;
  };
  if (m.get) add("read");
  if (m.put) add("write");
  if (m.putref) add("set");
  if (m.put && !m.params.empty() && m.params[0].by_ref) {
    add("ByRef");
  }
  return "Property " + m.name + " As " + TypeName(type) + " (" + access + ")";
}

std::string MemberLine(const MemberInfo& m) {
  if (m.call) return MethodLine(m);
  return PropertyLine(m);
}

}  // namespace

const char* TypeName(VarType type) {
  switch (type) {
    case VarType::kInt16:
      return "Integer";
    case VarType::kInt32:
      return "Long";
    case VarType::kBool:
      return "Boolean";
    case VarType::kText:
      return "String";
    case VarType::kVariant:
      return "Variant";
    case VarType::kObject:
      return "Object";
  }
  return "Variant";
}

std::string MemberCatalogue(const DispatchObject& object) {
  std::string text = std::string(object.ProgId()) + "\n";
  for (const MemberInfo& m : object.Members().members()) {
    char id[16];
    std::snprintf(id, sizeof id, "%4d  ", m.dispid);
    text += id + MemberLine(m) + "\n";
  }
  return text;
}

}  // namespace mx::cli
