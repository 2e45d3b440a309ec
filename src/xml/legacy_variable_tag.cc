#include "xml/legacy_variable_tag.h"

#include <cstdint>

#include "dictionary/function_repository.h"
#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "platform/xml_escaping.h"
#include "rules/legacy_rule_rewriting.h"
#include "split/from_to_range.h"
#include "xml/legacy_query.h"
#include "xml/variable_tag.h"

namespace mx::legacy {

namespace {

constexpr int32_t kRewriteFailed = 125;

// The variable text with its markers resolved before the include lines are
// read: an include line ends at its line break, and a text that marks its
// line breaks would otherwise lose everything after its first include.
std::string ReadVariables(BuildContext& ctx, const ConversionObject& object) {
  return ResolveVariableMarkers(Read_Variable_Text(ctx, object));
}

std::string ReadOwnFunctions(BuildContext& ctx,
                             const ConversionObject& object) {
  repository::Recordset rs = ctx.Query(
      " select func from  qxmap160 where mprf = " +
      vb::NumberToText(int64_t{object.profile}) + ObjectConditions(object));
  std::string function;
  if (!rs.Eof()) function = rs.Fields("func").ToTextOrEmpty();
  rs.Close();
  return function;
}

// The failure of a rewrite or translation, which has reported itself, as
// the function element's own error.
VbError RewriteFailed(BuildContext& ctx) {
  return VbError(kRewriteFailed, "XMLGeneration", ctx.error_description());
}

// The collected and own functions made ready for the element. A split run
// reads the range of a source table at run time through the routines that
// its range code calls: the element carries them after the functions.
std::string FunctionText(BuildContext& ctx, const LegacyRunFacts& facts,
                         const ConversionObject& object,
                         const std::string& collected) {
  std::string rewritten;
  if (!Replace_Empty_Default_Target(ctx, facts.target_source, object.sapp,
                                    object.tapp, collected, &rewritten)) {
    throw RewriteFailed(ctx);
  }
  std::string translated;
  const bool ok =
      Convert_Select_Section(ctx, rewritten, object.sapp, &translated);
  if (!ok) throw RewriteFailed(ctx);
  if (ctx.settings.split_vshells) {
    translated += std::string(vb::kCrLf) + GetFromToRange();
  }
  return Escape_XML_Text(translated);
}

}  // namespace

std::string DeclarationsForTranslation(const std::string& declarations) {
  return vb::Replace(vb::Replace(vb::LCase(declarations), "dim", " "),
                     vb::kCrLf, " ");
}

bool Construct_Variable_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                            const ConversionObject& object, std::string* stbl,
                            std::string* text) {
  text->clear();
  ctx.doc.declared_variables.clear();
  ctx.doc.declared_variables_for_translation.clear();
  return ReportingFailures(ctx.reporter(), [&] {
    std::string variables = ReadVariables(ctx, object);
    if (!vb::IsBlank(variables)) {
      std::string collected;
      Process_Include_Lines(ctx, facts.profile_list, &variables, stbl,
                            &collected);
      ctx.doc.collected_functions = std::move(collected);
    }
    const VariableLines lines = Split_Variable_Text(variables);
    ctx.doc.declared_variables = lines.declarations;
    ctx.doc.declared_variables_for_translation =
        DeclarationsForTranslation(lines.declarations);
    std::string declarations;
    if (!vb::IsBlank(lines.declarations)) {
      if (!Convert_Select_Section(ctx, lines.declarations, object.sapp,
                                  &declarations)) {
        return false;
      }
      declarations = Escape_XML_Text(declarations);
    }
    *text = "<INCLUDE>" + lines.includes + "</INCLUDE>" + "<VAR>" +
            declarations + " </VAR>";
    return true;
  });
}

bool Construct_Function_Tag(BuildContext& ctx, const LegacyRunFacts& facts,
                            const ConversionObject& object,
                            const std::string& /*stbl*/, std::string* text) {
  try {
    const std::string own = ReadOwnFunctions(ctx, object);
    if (!own.empty()) {
      ctx.doc.collected_functions += vb::kCrLf + own;
    }
    std::string functions;
    if (!ctx.doc.collected_functions.empty()) {
      functions = FunctionText(ctx, facts, object, ctx.doc.collected_functions);
    } else if (ctx.settings.split_vshells) {
      functions = Escape_XML_Text(GetFromToRange());
    } else {
      return true;
    }
    ctx.doc.collected_functions = functions;
    *text += std::string("<FUNCTION>") + vb::kCrLf + functions + vb::kCrLf +
             "</FUNCTION>" + vb::kCrLf;
    return true;
  } catch (const VbError& e) {
    ctx.ReportError("\t\tERROR in Construct_Function_Tag :- " +
                    vb::ErrNo(e.number()) + " - " + e.description() +
                    vb::kCrLf);
    return false;
  }
}

}  // namespace mx::legacy
