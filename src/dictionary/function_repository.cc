#include "dictionary/function_repository.h"

#include <cstdint>
#include <optional>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx::legacy {

using repository::SqlValue;

namespace {

VbError FunctionMissing(const std::string& name) {
  return VbError(1000, "XML Generation",
                 name + "Function does not exist in the function repository.");
}

// The highest of the listed profiles whose library holds the name; "0" when
// none does.
std::string HighestProfileHolding(BuildContext& ctx,
                                  const std::string& profile_list,
                                  const std::string& name) {
  repository::Recordset rs = ctx.Query(
      "select mprf from qxlib100 where upper(fnam) = upper('" + SqlValue(name) +
      "') and mprf in (" + profile_list + ") order by mprf desc");
  int32_t profile = 0;
  if (!rs.Eof()) profile = rs.Fields("mprf").ToInt32();
  rs.Close();
  return vb::NumberToText(int64_t{profile});
}

// The version keys (vers + rele + cust) under which a profile's library is
// searched: its checked-out version first, when it has one, then its own.
struct LibraryVersions {
  std::string checked_out;
  std::string own;
};

LibraryVersions ReadLibraryVersions(BuildContext& ctx,
                                    const std::string& profile) {
  LibraryVersions versions;
  bool has_checked_out = false;
  repository::Recordset rs = ctx.Query(
      "select vers+rele+cust,scme from qxmap100 where mprf = " + profile);
  if (!rs.Eof()) {
    versions.own = rs.Fields(size_t{0}).ToTextOrEmpty();
    has_checked_out = rs.Fields("scme").ToTextOrEmpty() == "Y";
  }
  rs.Close();
  if (has_checked_out) {
    repository::Recordset co = ctx.Query(
        "select dver+drel+dcus from qxmap105 where mprf = " + profile);
    if (!co.Eof()) versions.checked_out = co.Fields(size_t{0}).ToTextOrEmpty();
    co.Close();
  }
  return versions;
}

// The stored definition of the function in one version of the profile's
// library ("" when null); nothing when the version does not hold it.
std::optional<std::string> StoredDefinition(BuildContext& ctx,
                                            const std::string& profile,
                                            const std::string& version,
                                            const std::string& name) {
  repository::Recordset rs =
      ctx.Query("select * from qxlib100 where mprf = " + profile +
                " and vers+rele+cust='" + SqlValue(version) + "'" +
                " and upper(fnam) = upper('" + SqlValue(name) + "')");
  std::optional<std::string> definition;
  if (!rs.Eof()) definition = rs.Fields("fdef").ToTextOrEmpty();
  rs.Close();
  return definition;
}

std::string LookUpDefinition(BuildContext& ctx, const std::string& profile_list,
                             const std::string& name) {
  const std::string profile = HighestProfileHolding(ctx, profile_list, name);
  const LibraryVersions versions = ReadLibraryVersions(ctx, profile);
  std::string definition;
  if (!versions.checked_out.empty() &&
      ctx.settings.consider_checked_out_versions) {
    definition =
        StoredDefinition(ctx, profile, versions.checked_out, name).value_or("");
  }
  if (definition.empty()) {
    std::optional<std::string> own =
        StoredDefinition(ctx, profile, versions.own, name);
    if (!own.has_value()) throw FunctionMissing(name);
    definition = std::move(*own);
  }
  return definition;
}

}  // namespace

std::string Get_Function_Definition(BuildContext& ctx,
                                    const std::string& profile_list,
                                    const std::string& name,
                                    std::string* tables) {
  tables->clear();
  if (name.empty()) return "";
  try {
    std::string definition = LookUpDefinition(ctx, profile_list, name);
    if (!definition.empty()) {
      *tables = Extract_Table_Declarations(&definition);
    }
    return definition;
  } catch (const VbError&) {
    // Whatever failed, the caller learns only that the function cannot be
    // had.
    tables->clear();
    throw FunctionMissing(name);
  }
}

}  // namespace mx::legacy
