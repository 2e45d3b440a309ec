// The steps of rule rewriting that both generator classes take alike: the
// target pass, the empty()/default() assignment pass (which asks the class
// for a variable's empty value), the reading of a variable's declaration and
// the wording of a rewriting error. The classes differ only in the empty
// value a declaration gives, in whether the target pass runs, and in what
// their error messages add.
#ifndef MX_RULES_RULE_PASSES_H_
#define MX_RULES_RULE_PASSES_H_

#include <functional>
#include <string>
#include <vector>

#include "context/build_context.h"
#include "movx20xmlgen/error.h"

namespace mx::rules {

// The target pass: every "target(pkdomain.name)" whose constant the target
// application's data dictionary gives (a value that is not blank) becomes
// that value. The first "target" is found in any case, later ones only in
// lower case. Never raises.
std::string ReplaceTargets(BuildContext& ctx, const std::string& trg_appl,
                           const std::string& text);

// The empty value of a declared variable: true with *value set, false when
// the line that assigns it is to stay as it is. Raises what it raises (error
// 999 for a variable that is not declared).
using EmptyValueLookup =
    std::function<bool(const std::string& variable, std::string* value)>;

// The assignment pass for keyword "empty" (`empty_keyword`) or "default":
// every line that assigns the call form to a variable with an empty value
// becomes " " CR LF " " + name + " = " + value + " " CR LF " ", its comment
// kept behind it. An error of `lookup` propagates; before it does,
// *text_at_error (when given) receives the text as it then stood, the lines
// already rewritten included.
std::string ReplaceAssignments(const std::string& text, bool empty_keyword,
                               const EmptyValueLookup& lookup,
                               std::string* text_at_error = nullptr);

// The words of the first line of `declared` (one declaration a line) that
// holds `variable` anywhere, split at blanks, tabs, CR and LF. Error 999 when
// the text is blank or no line holds the name.
std::vector<std::string> DeclarationWords(const std::string& declared,
                                          const std::string& variable);

// TAB TAB "ERROR:in " + operation + "()  ErrNo." + N + ":" + description.
std::string RewriteError(const std::string& operation, const VbError& e);

}  // namespace mx::rules

#endif  // MX_RULES_RULE_PASSES_H_
