#include "legacy/lookup_application_file.h"

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx::legacy {

using repository::SqlValue;

bool Create_LookupApplication_File(BuildContext& ctx, Env& env,
                                   const std::string& application) {
  const std::string& folder = ctx.settings.xml_path;
  if (folder.empty()) throw errors::PathNotFound();
  auto rs = ctx.Query("select * from qxddi101 where appl='" +
                      SqlValue(vb::Trim(application)) + "'");
  std::string text;
  if (!rs.Eof()) {
    for (const char* column : {"sour", "logn", "pswd"}) {
      text += rs.Fields(column).ToTextOrEmpty() + vb::kCrLf;
    }
  }
  env.WriteOwnerOnlyFile(JoinPath(folder, "LookupApplication.txt"), text);
  return !rs.Eof();
}

}  // namespace mx::legacy
