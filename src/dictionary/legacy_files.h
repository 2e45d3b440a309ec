// What the repository says about one legacy flat file (qxlgy141) that a
// conversion object reads: the number of header rows to skip, as the NSKP
// element of the file's source description. The Schema.ini of a run reads the
// same rows.
#ifndef MX_DICTIONARY_LEGACY_FILES_H_
#define MX_DICTIONARY_LEGACY_FILES_H_

#include <string>

#include "context/build_context.h"

namespace mx::legacy {

// *text = "<NSKP>" + nskp + "</NSKP>" for the file's qxlgy141 row (a null
// nskp reads as empty), "" when there is no row: a file without a row is not
// an error here. An error is reported in the legacy class's words with a
// "Hint : for File : " line naming the file, and gives False.
[[nodiscard]] bool Get_Legacy_File_details(BuildContext& ctx,
                                           const std::string& application,
                                           const std::string& package,
                                           const std::string& module,
                                           const std::string& file,
                                           std::string* text);

}  // namespace mx::legacy

#endif  // MX_DICTIONARY_LEGACY_FILES_H_
