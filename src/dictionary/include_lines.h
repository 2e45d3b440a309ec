// Keyword lines of legacy 4GL text: include lines ("#include <name>"), which
// pull a function out of the function library, and table declarations
// ("table name") inside such a function. The scanners find a keyword as a
// whole word in any case, outside comments (after a single quote on its
// line) and string literals; a line that is taken is removed from its
// keyword to its line break, the line break itself staying.
//
// Positions are 1-based and 0 means "none", as everywhere in the component's
// text helpers (platform/vb_text.h).
#ifndef MX_DICTIONARY_INCLUDE_LINES_H_
#define MX_DICTIONARY_INCLUDE_LINES_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace mx::legacy {

// True when `text` holds an even number of double quotes (none included):
// whatever follows it lies outside a string literal.
bool Is_Outside_String_Literal(std::string_view text);

// The position of the first whole-word `keyword` at or after `start`, in any
// case, that stands outside a comment and a string literal; 0 when there is
// none. A whole word has a delimiter (blank, TAB, CR, LF or one of
// ~!@#$%^&*()`?'\|.,[]{}<>-") or the text's edge on either side.
size_t Find_Keyword(size_t start, std::string_view text,
                    std::string_view keyword);

// The name of an include line, read from `start` (just after "#include"):
// blanks and TABs, "<", the name, ">", with blanks and TABs allowed around
// the name. "" when the form is not met, as for a name holding a full stop.
// *end is the position where reading stopped (the ">" of a name).
std::string Read_Include_Name(size_t start, std::string_view text, size_t* end);

// The name of a table declaration, read from `start` (just after "table"):
// blanks and TABs, then the name up to a delimiter (a full stop belongs to
// the name). "" when the name is empty or followed by anything but a blank,
// TAB, CR, LF or the text's end. *end is the position just after the name.
std::string Read_Declared_Table_Name(size_t start, std::string_view text,
                                     size_t* end);

// Removes every table declaration from *definition and returns the declared
// names in order, joined by " , ". A declaration without a name raises error
// 1000 ("Tablename missing in table declaration."), leaving *definition as
// it was.
std::string Extract_Table_Declarations(std::string* definition);

// Where the functions named by include lines come from.
class FunctionLibrary {
 public:
  virtual ~FunctionLibrary() = default;

  // The definition of the named function without its table declarations;
  // *tables receives the tables it declares (" , " between them, "" for
  // none). Raises error 1000 when the function cannot be had.
  virtual std::string Get_Function_Definition(const std::string& name,
                                              std::string* tables) = 0;
};

// Resolves the include lines of *text: each named function is fetched from
// `functions`, and *collected becomes CR LF + definition for every include
// in order ("" without includes). The include lines leave *text, and the
// tables the functions declare extend *tables (" , " between entries). An
// include without a name raises error 1000 ("Function name missing"); it and
// the errors of `functions` leave all three texts as they were.
void Process_Include_Lines(FunctionLibrary& functions, std::string* text,
                           std::string* tables, std::string* collected);

}  // namespace mx::legacy

#endif  // MX_DICTIONARY_INCLUDE_LINES_H_
