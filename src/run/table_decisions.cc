#include "run/table_decisions.h"

#include "platform/vb_text.h"
#include "xml/escaping.h"

namespace mx {

namespace {

// The skips both classes share, in their order.
StatusSkip CommonStatusSkip(const Mapping& m, bool error_status_skips) {
  if (m.stat == "X") return StatusSkip::kExpired;
  if (m.stat == "E" && error_status_skips) return StatusSkip::kErrorStatus;
  if (m.stat == "D") return StatusSkip::kCommentOnly;
  if (m.stat == "M" && m.prtx.empty() && m.comt.empty()) {
    return StatusSkip::kNoRules;
  }
  return StatusSkip::kNone;
}

ConversionObject ObjectOf(const Profile& profile, const TargetTable& table,
                          const Mapping& m, std::string prtx,
                          std::string stbl) {
  return {m.profile,  m.working.vers,  m.working.rele, m.working.cust,
          table.cpac, table.cmod,      profile.sapp,   profile.tapp,
          table.flno, std::move(prtx), std::move(stbl)};
}

}  // namespace

StatusSkip DictionaryStatusSkip(const Mapping& m,
                                const GeneratorSettings& settings) {
  return CommonStatusSkip(m, settings.xml_generation_option == 4);
}

ConversionObject DictionaryObjectOf(const Profile& profile,
                                    const TargetTable& table,
                                    const Mapping& m) {
  return ObjectOf(profile, table, m, m.prtx, m.stbl.value_or(""));
}

StatusSkip LegacyStatusSkip(const Mapping& m) {
  const StatusSkip skip = CommonStatusSkip(m, /*error_status_skips=*/true);
  if (skip == StatusSkip::kNone && !m.stbl) return StatusSkip::kNoSourceTables;
  return skip;
}

ConversionObject LegacyObjectOf(const Profile& profile,
                                const TargetTable& table, const Mapping& m) {
  return ObjectOf(profile, table, m, Escape_XML_Text(m.prtx),
                  vb::Replace(m.stbl.value_or(""), ",", " , "));
}

}  // namespace mx
