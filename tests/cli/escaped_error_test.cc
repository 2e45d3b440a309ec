// An error that escapes a command: one line on standard error and exit
// status 3, never an abort.
#include "cli/escaped_error.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "movx20xmlgen/error.h"
#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

using cli::EscapedErrorLine;

TEST(EscapedErrorLine, NumberedErrorsKeepNumberAndDescriptionOnOneLine) {
  // A legacy message ends in CR LF; the description is Windows-1252.
  EXPECT_EQ(EscapedErrorLine(std::make_exception_ptr(
                VbError(76, "XMLGeneration", "Caf\xe9 not found\r\n"))),
            "movx20xmlgen: error 76: Caf\xc3\xa9 not found");
  EXPECT_EQ(EscapedErrorLine(std::make_exception_ptr(
                VbError(-2147217900, "db", "near \"x\":\nsyntax error"))),
            "movx20xmlgen: error -2147217900: near \"x\": syntax error");
}

TEST(EscapedErrorLine, AnyOtherExceptionIsNamedByItsText) {
  EXPECT_EQ(EscapedErrorLine(std::make_exception_ptr(
                std::runtime_error("first\r\nsecond\n"))),
            "movx20xmlgen: first  second");
  EXPECT_EQ(EscapedErrorLine(std::make_exception_ptr(42)),
            "movx20xmlgen: unknown error");
}

TEST(EscapedErrorLine, TheProgramReportsAnUnhandledErrorAndExitsWith3) {
  // An empty folder name cannot be made absolute: the file-system error is
  // raised before the demo command handles anything.
  testing::TempDir dir;
  const int status =
      testing::RunProgram(MX_BINARY, {"demo", ""}, dir / "out", dir / "err");
  const std::string err = testing::ReadAll(dir / "err");
  EXPECT_EQ(status, 3) << err;
  EXPECT_EQ(err.rfind("movx20xmlgen: ", 0), 0u) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
}

}  // namespace
}  // namespace mx
