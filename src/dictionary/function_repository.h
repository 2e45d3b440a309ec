// The function library of the repository (qxlib100) as the legacy class
// reads it: a function is taken from the highest of the run's profiles that
// holds its name, in that profile's checked-out version when the settings
// ask for it and the version holds the function, else in the profile's own
// version. There is no fallback to a lower profile.
#ifndef MX_DICTIONARY_FUNCTION_REPOSITORY_H_
#define MX_DICTIONARY_FUNCTION_REPOSITORY_H_

#include <string>
#include <utility>

#include "context/build_context.h"
#include "dictionary/include_lines.h"

namespace mx::legacy {

// The definition of function `name`, its table declarations removed;
// *tables receives the tables it declares. `profile_list` is the run's
// profile numbers as the inside of an SQL in-list ("20,12"). "" for an empty
// name. Any failure, a missing function or a table declaration without a
// name included, raises error 1000 with the description name + "Function
// does not exist in the function repository."; the error behind it is not
// reported.
std::string Get_Function_Definition(BuildContext& ctx,
                                    const std::string& profile_list,
                                    const std::string& name,
                                    std::string* tables);

// The function library of one run.
class FunctionRepository final : public FunctionLibrary {
 public:
  FunctionRepository(BuildContext& ctx, std::string profile_list)
      : ctx_(ctx), profile_list_(std::move(profile_list)) {}

  std::string Get_Function_Definition(const std::string& name,
                                      std::string* tables) override {
    return legacy::Get_Function_Definition(ctx_, profile_list_, name, tables);
  }

 private:
  BuildContext& ctx_;
  const std::string profile_list_;
};

// Process_Include_Lines (include_lines.h) on the repository's function
// library.
inline void Process_Include_Lines(BuildContext& ctx,
                                  const std::string& profile_list,
                                  std::string* text, std::string* tables,
                                  std::string* collected) {
  FunctionRepository functions(ctx, profile_list);
  Process_Include_Lines(functions, text, tables, collected);
}

}  // namespace mx::legacy

#endif  // MX_DICTIONARY_FUNCTION_REPOSITORY_H_
