#include "run/run_log.h"

#include "platform/vb_text.h"

namespace mx {

namespace {

std::string ObjectInProfile(const std::string& code, int32_t profile,
                            const VersionTriple& v) {
  return "Conversion Object " + code + " in Profile No. " +
         vb::NumberToText(int64_t{profile}) + " V-R-C  - " + v.vers + "-" +
         v.rele + "-" + v.cust;
}

std::string CountLine(const char* label, int32_t count) {
  return std::string("\t\t") + label + vb::FormatGrouped(count);
}

}  // namespace

std::string StartedLine(int32_t n, const std::string& now,
                        const std::string& noun, const std::string& code) {
  return "(" + vb::NumberToText(int64_t{n}) + ".)\t" + now +
         "\tStarted exporting the " + noun + " Object: " + code +
         " as XML File.";
}

std::string ExpiredLine(const std::string& code, int32_t profile,
                        const VersionTriple& working) {
  return "\t" + ObjectInProfile(code, profile, working) +
         " Skipped as STATUS is ** EXPIRE**";
}

std::string StatusErrorLine(const std::string& code, int32_t profile,
                            const VersionTriple& working) {
  return "\t" + ObjectInProfile(code, profile, working) +
         " Skipped as STATUS is ** ERROR **";
}

std::string CommentOnlyLine(const std::string& code, int32_t profile,
                            const VersionTriple& working) {
  return "\t\t" + ObjectInProfile(code, profile, working) +
         " Skipped as STATUS is *Comment-Only*";
}

std::string NoRulesLine(const std::string& code, int32_t profile,
                        const VersionTriple& working) {
  return "\t\t" + ObjectInProfile(code, profile, working) +
         " Skipped as *No Rules Maintained*";
}

std::string MScriptSkipLine(const std::string& now, const std::string& code) {
  return "\t" + now + "\tSkipped Mapping object: " + code +
         " as it is a part of an M-script. ";
}

std::string CompletedLine(const std::string& now, const std::string& code) {
  return "\t" + now + "\tCompleted exporting Mapping object: " + code +
         " as XML SUCCESSFULLY.";
}

std::string NoMappingWarning(const std::string& code) {
  return "\t\tWARNING:- No Mappings maintained for the table :" + code;
}

void WriteSummary(Reporter& log, const RunCounts& counts,
                  bool with_mscript_line) {
  log.LogLine(vb::String(132, '-'));
  log.LogLine(
      CountLine("Total No. Of Mapping Objects for which XML Generation "
                "was successful  =  ",
                counts.success));
  if (with_mscript_line) {
    log.LogLine(
        CountLine("Total No. Of Mapping Objects that are Part of "
                  "M-SCRIPT                =  ",
                  counts.mscript));
  }
  log.LogLine(
      CountLine("Total No. Of Mapping Objects that Doesn't Have "
                "Mappings               =  ",
                counts.no_mapping));
  log.LogLine(
      CountLine("Total No. Of Mapping Objects that had ERRORS while "
                "XML GENERATAION    =  ",
                counts.errors));
  log.LogLine(vb::String(133, '-'));
  log.LogLine(
      CountLine("                                                      "
                " TOTAL          =  ",
                counts.total));
  log.LogLine(vb::String(133, '-'));
}

}  // namespace mx
