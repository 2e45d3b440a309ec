#include "xml/document_writer.h"

#include "movx20xmlgen/error.h"
#include "platform/plain_xml.h"
#include "platform/vb_text.h"
#include "platform/xml_check.h"
#include "xml/cipher.h"

namespace mx {

namespace {

constexpr int32_t kNotWellFormed = 1010;

std::string Wrapped(const char* wrapper, const std::string& text) {
  if (wrapper == nullptr) return text;
  return std::string("<") + wrapper + ">" + text + "</" + wrapper + ">";
}

// A part that fails the check is reported like every other failure of the
// document, naming the part, the table and the parser's complaint. True
// when the part is plain XML (see plain_xml.h).
bool Check(const std::string& part, const std::string& table_code,
           const std::string& text) {
  XmlCheck check = CheckWellFormed(text);
  if (check.well_formed) return check.plain;
  throw VbError(kNotWellFormed, "XML Generation",
                "Section " + part + " of " + table_code +
                    " is not well-formed XML: " + check.message + " at line " +
                    std::to_string(check.line));
}

// The sub-folder of XMLPath, made when missing (one level: XMLPath must
// exist).
std::string EnsureFolder(const std::string& xml_path, const std::string& folder,
                         Env& env) {
  CheckPlainName(folder);
  if (xml_path.empty()) throw errors::PathNotFound();
  std::string path = JoinPath(xml_path, folder);
  if (!env.FolderExists(path)) env.CreateFolder(path);
  return path;
}

}  // namespace

void CheckPlainName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    throw errors::FileAccess();
  }
}

bool WriteDocument(const DocumentPlan& plan, const std::string& xml_path,
                   Env& env) {
  CheckPlainName(plan.file_name);
  const std::string folder = EnsureFolder(xml_path, plan.folder, env);
  std::string document = plan.opening;
  // Plain sections in a plain frame make a plain document, which then need
  // not be read again as a whole.
  PlainJoin join(plan.opening, plan.closing);
  for (const Section& section : plan.sections) {
    std::string text;
    if (!section.build(&text)) return false;
    if (plan.checked) {
      if (vb::IsBlank(text)) continue;
      const bool plain =
          Check(section.name, plan.table_code, Wrapped(section.wrapper, text));
      join.Add(document, text, plain);
    }
    document += text;
  }
  join.Add(document, plan.closing, true);
  document += plan.closing;
  if (plan.checked && !join.plain()) {
    Check("DOCUMENT", plan.table_code, document);
  }
  const std::string path = JoinPath(folder, plan.file_name);
  if (plan.storage == DocumentPlan::Storage::kEnciphered) {
    // Enciphered documents carry the legacy tables' passwords.
    env.WriteOwnerOnlyFile(path, EncipherText(vb::TrimmedView(document)));
  } else {
    env.WriteFile(path, document);
  }
  return true;
}

}  // namespace mx
