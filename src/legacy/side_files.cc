#include "legacy/side_files.h"

#include "dictionary/legacy_connections.h"
#include "legacy/conversion_codes.h"
#include "legacy/lookup_application_file.h"
#include "legacy/schema_ini.h"
#include "movx20xmlgen/error.h"
#include "movx20xmlgen/variant.h"
#include "platform/vb_text.h"
#include "split/split_info_file.h"
#include "xml/cipher.h"

namespace mx::legacy {

namespace {

constexpr int32_t kSideFileFailed = 124;

[[noreturn]] void Fail(const char* description) {
  throw VbError(kSideFileFailed, "XML Generation", description);
}

// The codes twice in XMLPath: enciphered without an extension, plain as
// .XML.
void WriteConversionCodes(BuildContext& ctx, Env& env,
                          const std::string& codes) {
  const std::string& folder = ctx.settings.xml_path;
  if (folder.empty()) throw errors::PathNotFound();
  const std::string text = vb::Trim(codes);
  const std::string enciphered = JoinPath(folder, "xConversionCodes");
  if (env.FileExists(enciphered)) env.DeleteFile(enciphered);
  env.WriteFile(enciphered, EncipherText(text));
  env.WriteFile(enciphered + ".XML", text);
  ctx.LogLine("\t\tConversion Code XML Createad Successfully.");
}

// The split information of every conversion object, for the tool that
// fills in the ranges. The profile number is passed as the 16-bit number
// the builder takes (a larger one is error 6, which ends the run). The run
// goes on whatever the builder's result: a failure leaves no file.
void WriteSplitInformation(BuildContext& ctx, Env& env, int32_t profile) {
  const int16_t number = Variant(profile).ToInt16();
  const std::string& folder = ctx.settings.xml_path;
  // An empty XMLPath names no folder (the builder would fail with error 76).
  if (folder.empty()) return;
  (void)ConstructSplitInfoFile(ctx, env, GetConnStr, number,
                               JoinPath(folder, "splitinfo.xml"));
}

}  // namespace

bool WriteSideFiles(BuildContext& ctx, Env& env, const SideFileInputs& inputs) {
  std::string codes;
  if (!Create_Conversion_Code_XML(ctx, &codes)) return false;
  WriteConversionCodes(ctx, env, codes);

  if (!Build_Schema_ini(ctx, env, inputs.sapp)) {
    Fail("Error encountered while building schema.ini file");
  }
  ctx.LogLine("\t\tSchema.ini File Built Successfully.");

  if (!inputs.lookup_application.empty()) {
    if (!Create_LookupApplication_File(ctx, env, inputs.lookup_application)) {
      Fail("Error encountered while Creating LookupApplication file");
    }
    ctx.LogLine("\t\tLookupApplication  File Built Successfully.");
  }

  if (ctx.settings.split_vshells) {
    WriteSplitInformation(ctx, env, inputs.profile);
  }
  return true;
}

}  // namespace mx::legacy
