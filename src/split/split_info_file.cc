#include "split/split_info_file.h"

#include <vector>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx::legacy {

namespace {

using repository::SqlValue;

// The file's text, built line by line: every line ends in CR LF, and most
// are preceded by an empty one.
class SplitInfoText {
 public:
  void Line(const std::string& text) { text_ += text + vb::kCrLf; }
  void AfterEmptyLine(const std::string& text) {
    Line(std::string(vb::kCrLf) + text);
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string SourceApplication(BuildContext& ctx, int16_t profile) {
  repository::Recordset rs =
      ctx.Query("select * from qxmap100 where mprf=" + std::to_string(profile));
  std::string application;
  if (!rs.Eof()) application = rs.Fields("sapp").ToTextOrEmpty();
  rs.Close();
  return application;
}

std::vector<std::string> ConversionObjects(BuildContext& ctx) {
  repository::Recordset rs = ctx.Query("select distinct ttbl  from qxmap300");
  std::vector<std::string> targets;
  for (; !rs.Eof(); rs.MoveNext()) {
    targets.push_back(rs.Fields("ttbl").ToTextOrEmpty());
  }
  rs.Close();
  return targets;
}

// The field names are the entries of the stored list as they stand, blanks
// included.
void WriteFields(SplitInfoText& out, const std::string& field_list) {
  out.AfterEmptyLine("<fields>");
  for (const std::string& entry : vb::Split(field_list, ",")) {
    out.AfterEmptyLine("<field>");
    out.AfterEmptyLine("<name>" + entry + "</name>");
    out.AfterEmptyLine("<from></from>");
    out.AfterEmptyLine("<to></to>");
    out.AfterEmptyLine("</field>");
  }
  out.AfterEmptyLine("</fields>");
}

void WriteConversionObject(BuildContext& ctx, SplitInfoText& out,
                           const ConnectionFragment& connection_of,
                           const std::string& application,
                           const std::string& target) {
  out.AfterEmptyLine("<conversionobject>");
  out.Line("\t<name>" + target + "</name>");
  repository::Recordset rs = ctx.Query("select * from qxmap300 where ttbl = '" +
                                       SqlValue(target) + "'");
  if (!rs.Eof()) {
    out.AfterEmptyLine("\t\t<sourcetables>");
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string source = rs.Fields("stbl").ToTextOrEmpty();
      out.AfterEmptyLine("<sourcetable>");
      out.AfterEmptyLine("<name>" + source + "</name>");
      out.AfterEmptyLine(connection_of(ctx, application, source));
      WriteFields(out, rs.Fields("flst").ToTextOrEmpty());
      out.AfterEmptyLine("</sourcetable>");
    }
    out.AfterEmptyLine("\t\t</sourcetables>");
  }
  rs.Close();
  out.AfterEmptyLine("</conversionobject>");
}

std::string SplitInfo(BuildContext& ctx,
                      const ConnectionFragment& connection_of,
                      const std::string& application) {
  const std::vector<std::string> targets = ConversionObjects(ctx);
  SplitInfoText out;
  if (targets.empty()) return out.text();
  out.Line("<conversionobjects>");
  for (const std::string& target : targets) {
    WriteConversionObject(ctx, out, connection_of, application, target);
  }
  out.Line("</conversionobjects>");
  return out.text();
}

}  // namespace

bool ConstructSplitInfoFile(BuildContext& ctx, Env& env,
                            const ConnectionFragment& connection_of,
                            int16_t IntMprf,
                            const std::string& StrSplitInfoFileName) {
  try {
    // The earlier file goes first, so that a failure leaves none behind.
    if (env.FileExists(StrSplitInfoFileName)) {
      env.DeleteFile(StrSplitInfoFileName);
    }
    const std::string application = SourceApplication(ctx, IntMprf);
    env.WriteOwnerOnlyFile(StrSplitInfoFileName,
                           SplitInfo(ctx, connection_of, application));
    return true;
  } catch (const VbError&) {
    return false;
  }
}

}  // namespace mx::legacy
