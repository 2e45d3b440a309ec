// The connection data of a legacy source table (qxlgy140: data source, login,
// password) as the documents carry them: a one-line constr fragment for the
// split information file, and the DSN, LOGN and PSWD lines of a table's
// source description. Values are written as stored, passwords included; a
// null reads as empty.
#ifndef MX_DICTIONARY_LEGACY_CONNECTIONS_H_
#define MX_DICTIONARY_LEGACY_CONNECTIONS_H_

#include <string>

#include "context/build_context.h"

namespace mx::legacy {

// "<constr> <dsn> " + sour + "</dsn> <logn>" + logn + "</logn> <pswd>" +
// pswd + "</pswd></constr>" for the first qxlgy140 row of the application
// whose flno is `i_StrTable` (compared as the repository compares texts);
// "" when there is none. Only sour is escaped. Errors go to the caller.
std::string GetConnStr(BuildContext& ctx, const std::string& i_StrAppl,
                       const std::string& i_StrTable);

// *text = the DSN, LOGN and PSWD lines (each escaped, each ending in CR LF)
// of the table, its name compared without regard to case. No row gives
// False with an empty text and no report; an error is reported in the
// legacy class's words and gives False.
[[nodiscard]] bool Get_Legacy_Table_Connection(BuildContext& ctx,
                                               const std::string& application,
                                               const std::string& package,
                                               const std::string& module,
                                               const std::string& table,
                                               std::string* text);

}  // namespace mx::legacy

#endif  // MX_DICTIONARY_LEGACY_CONNECTIONS_H_
