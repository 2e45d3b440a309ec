#include "dictionary/legacy_files.h"

#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx::legacy {

using repository::SqlValue;

bool Get_Legacy_File_details(BuildContext& ctx, const std::string& application,
                             const std::string& package,
                             const std::string& module, const std::string& file,
                             std::string* text) {
  text->clear();
  try {
    auto rs = ctx.Query(" select * from qxlgy141  where appl='" +
                        SqlValue(application) + "' and cpac='" +
                        SqlValue(package) + "'  and cmod='" + SqlValue(module) +
                        "'  and flno='" + SqlValue(file) + "'");
    if (!rs.Eof()) {
      *text = "<NSKP>" + rs.Fields("nskp").ToTextOrEmpty() + "</NSKP>";
    }
    return true;
  } catch (const VbError& e) {
    text->clear();
    ctx.ReportError(e, "\t\tERROR in Get_Legacy_File_details :- " +
                           vb::ErrNo(e.number()) + " - " + e.description() +
                           vb::kCrLf + "Hint : for File : " + package + module +
                           file);
    return false;
  }
}

}  // namespace mx::legacy
