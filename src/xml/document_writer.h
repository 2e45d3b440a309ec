// The one way a document reaches the disk, whatever its kind (conversion
// object or M-script, of either class): the file name is checked, the
// sub-folder of XMLPath made, the sections built in order and appended, the
// root closed, the document checked, and the file written whole. Nothing is
// written unless every step succeeded.
#ifndef MX_XML_DOCUMENT_WRITER_H_
#define MX_XML_DOCUMENT_WRITER_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/env.h"

namespace mx {

// One section of a document. A builder returns its text and a success flag;
// a text of blanks only adds nothing.
struct Section {
  const char* name;     // INFO, PRE-CONDITIONS, MAINQUERY, FUNCTION, DUMPS
  const char* wrapper;  // element the text is tested in; nullptr for none
  std::function<bool(std::string*)> build;
};

struct DocumentPlan {
  std::string folder;      // sub-folder of XMLPath: package + module
  std::string file_name;   // "x" + table code + "0.XML"
  std::string table_code;  // named in well-formedness errors
  std::string opening;     // the root's opening line
  std::string closing;     // the root's closing tag
  std::vector<Section> sections;
  // Checked: a section of blanks only adds nothing, every other section is
  // tested inside its wrapper, and the whole document, frame included,
  // before it is written (read again only when its sections and frame do
  // not make it plain XML by construction: see PlainJoin). Unchecked (legacy
  // conversion objects, which may carry names such as F08$): every section is
  // appended as returned.
  bool checked = true;
  // Plain: the document as built. Enciphered: the document trimmed of
  // blanks, enciphered, readable and writable by its owner only (it carries
  // connection details of source systems).
  enum class Storage { kPlain, kEnciphered } storage = Storage::kPlain;
};

// Builds and writes the document under `xml_path`. False when a section
// builder failed (it has reported why). Raises error 75 for a file or folder
// name that could leave XMLPath, 76 for an empty XMLPath, 1010 for a section
// (or, named DOCUMENT, the whole document) that is not well-formed, and the
// file system's errors.
[[nodiscard]] bool WriteDocument(const DocumentPlan& plan,
                                 const std::string& xml_path, Env& env);

// Raises error 75 when `name` is not a plain file or folder name ("/", "\",
// NUL, "." or "..").
void CheckPlainName(const std::string& name);

}  // namespace mx

#endif  // MX_XML_DOCUMENT_WRITER_H_
