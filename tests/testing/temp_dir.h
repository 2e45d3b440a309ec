// A temporary folder for one test, removed with everything in it at the end.
#ifndef MX_TESTS_TESTING_TEMP_DIR_H_
#define MX_TESTS_TESTING_TEMP_DIR_H_

#include <cstdlib>
#include <filesystem>
#include <string>

namespace mx::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "mxtest-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const {
    return (path_ / name).string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_TEMP_DIR_H_
