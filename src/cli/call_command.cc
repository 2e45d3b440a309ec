#include "cli/call_command.h"

#include <iostream>
#include <memory>
#include <utility>

#include "cli/arguments.h"
#include "cli/json_writer.h"
#include "cli/run_guards.h"
#include "cli/usage.h"
#include "movx20xmlgen/dispatch.h"
#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "platform/env.h"
#include "platform/vb_text.h"

namespace mx::cli {

namespace {

struct CallOptions {
  bool legacy = false;
  std::string connection;
  std::vector<std::pair<std::string, std::string>> settings;
  std::string method;
  std::vector<std::string> arguments;
};

CallOptions ParseCallOptions(std::vector<std::string> list) {
  CallOptions o;
  Arguments args(std::move(list));
  while (!args.Done() && o.method.empty()) {
    const std::string a = args.Take();
    if (a == "--legacy") {
      o.legacy = true;
    } else if (a == "--connection") {
      o.connection = args.TakeValue(a);
    } else if (a == "--set") {
      const std::string setting = args.TakeValue(a);
      const size_t eq = setting.find('=');
      if (eq == std::string::npos || eq == 0) {
        throw UsageError("--set takes NAME=VALUE, not '" + setting + "'");
      }
      o.settings.emplace_back(setting.substr(0, eq), setting.substr(eq + 1));
    } else if (a.rfind("--", 0) == 0) {
      throw UsageError("unknown option " + a + " (see call --help)");
    } else {
      o.method = a;
    }
  }
  while (!args.Done()) o.arguments.push_back(args.Take());
  if (o.connection.empty()) throw UsageError("--connection is required");
  if (o.method.empty()) throw UsageError("the method to call is missing");
  return o;
}

std::string ValueAsJson(const Variant& v) {
  if (v.IsBool()) return v.ToBool() ? "true" : "false";
  if (v.IsInteger() || v.IsDouble()) return v.ToText();
  if (v.IsNull() || v.IsEmpty() || v.IsObject()) return "null";
  return JsonString(v.ToText());
}

// A Boolean property given as text converts as the original's conversion
// did: True or False in any case, or a number; anything else is error 13.
// Numbers are converted by the dispatch layer (13 for a text that is not a
// number, 6 for an overflow).
Variant BooleanSetting(const std::string& text) {
  const std::string word = vb::LCase(vb::Trim(text));
  if (word == "true") return Variant(true);
  if (word == "false") return Variant(false);
  if (vb::IsNumeric(text)) return Variant(text).ToBool();
  throw errors::TypeMismatch();
}

bool IsProperty(const std::string& name, const char* property) {
  return vb::LCase(name) == vb::LCase(property);
}

// Returns the log streams it opened, for the caller to close after the call.
// The setting texts are UTF-8; paths reach the file system as given. A
// ClearXMLDirectory that would delete the repository, a log of the call or
// the current folder is refused before anything is deleted.
std::vector<std::shared_ptr<TextStream>> ApplySettings(DispatchObject& object,
                                                       const CallOptions& o) {
  std::vector<std::shared_ptr<TextStream>> logs;
  const std::optional<std::string> repository = RepositoryFile(o.connection);
  std::optional<std::string> log_path;
  std::string xml_path;
  object.PutProperty("ConnectionString", ComponentConnection(o.connection));
  for (const auto& [name, value] : o.settings) {
    const MemberInfo* member = object.FindMember(name);
    const VarType type = member != nullptr && !member->params.empty()
                             ? member->params[0].type
                             : VarType::kVariant;
    if (IsProperty(name, "LogFileName")) {
      RunFiles files;
      files.repository = repository;
      files.log = value;
      CheckRunFiles(files);
      auto log = LineFileTextStream::Open(value);
      object.PutRefProperty(name,
                            Variant(std::shared_ptr<DispatchObject>(
                                std::make_shared<TextStreamObject>(log))));
      logs.push_back(log);
      log_path = value;
    } else if (IsProperty(name, "XMLPath") ||
               IsProperty(name, "SchemaINIPath")) {
      if (IsProperty(name, "XMLPath")) xml_path = vb::Trim(value);
      object.PutProperty(name, ComponentPath(value));
    } else if (type == VarType::kBool) {
      const Variant flag = BooleanSetting(value);
      if (IsProperty(name, "ClearXMLDirectory") && flag.ToBool() &&
          !xml_path.empty()) {
        CheckFolderMayBeCleared(xml_path, repository, log_path, std::nullopt);
      }
      object.PutProperty(name, flag);
    } else {
      object.PutProperty(name, ComponentText(value));
    }
  }
  return logs;
}

// A method argument that names a file the method writes, replacing what is
// there. It reaches the file system as given, and may be neither the
// repository nor a log of the call.
bool NamesWrittenFile(const ParamInfo& param) {
  return param.name == "StrSplitInfoFileName";
}

std::string WrittenFileArgument(const CallOptions& o, const std::string& path) {
  RunFiles files;
  files.repository = RepositoryFile(o.connection);
  files.written = path;
  CheckRunFiles(files);
  for (const auto& [name, value] : o.settings) {
    if (!IsProperty(name, "LogFileName")) continue;
    files.log = value;
    CheckRunFiles(files);
  }
  return ComponentPath(path);
}

}  // namespace

int CallCommand(std::vector<std::string> list) {
  for (const std::string& a : list) {
    if (a == "--help" || a == "-h") {
      std::cout << CallHelp();
      return kExitTrue;
    }
  }
  const CallOptions o = ParseCallOptions(std::move(list));
  std::shared_ptr<DispatchObject> object =
      CreateObject(o.legacy ? "MOVX20XMLGenerator.ClsXMLLegacy"
                            : "MOVX20XMLGenerator.ClsXMLGenerator");
  const MemberInfo* member = object->FindMember(o.method);
  if (member == nullptr || !member->call) {
    throw UsageError(o.method + " is not a method of " +
                     std::string(object->ProgId()) + " in this build");
  }
  if (o.arguments.size() > member->params.size()) {
    throw UsageError(o.method + " takes " +
                     std::to_string(member->params.size()) + " arguments");
  }
  std::vector<Variant> args;
  for (size_t i = 0; i < member->params.size(); ++i) {
    if (i < o.arguments.size() && NamesWrittenFile(member->params[i])) {
      args.emplace_back(WrittenFileArgument(o, o.arguments[i]));
    } else if (i < o.arguments.size()) {
      args.emplace_back(ComponentText(o.arguments[i]));
    } else if (member->params[i].by_ref) {
      args.emplace_back(std::string());
    } else {
      throw UsageError(o.method + " needs the argument " +
                       member->params[i].name);
    }
  }
  try {
    const auto logs = ApplySettings(*object, o);
    const Variant result = object->Invoke(o.method, InvokeKind::kMethod, args);
    for (const auto& log : logs) log->Close();
    std::string json = "{\"result\":" + ValueAsJson(result);
    for (size_t i = 0; i < member->params.size(); ++i) {
      if (!member->params[i].by_ref) continue;
      json +=
          "," + JsonString(member->params[i].name) + ":" + ValueAsJson(args[i]);
    }
    json += ",\"ErrorDescription\":" +
            JsonString(object->GetProperty("ErrorDescription").ToText()) + "}";
    std::cout << json << "\n";
    return kExitTrue;
  } catch (const VbError& e) {
    std::cerr << "movx20xmlgen: error " << e.number() << " in " << o.method
              << ": " << Win1252ToUtf8(e.description()) << "\n";
    return kExitFalse;
  }
}

}  // namespace mx::cli
