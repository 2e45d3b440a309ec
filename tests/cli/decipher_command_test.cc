// movx20xmlgen decipher, run as a program: the plain text on standard output
// or in a file, and the refusals (a file too short to be enciphered, an
// output that is the input under any name, usage errors).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"
#include "xml/cipher.h"

namespace mx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;

// A document as the legacy class writes it, with a NUL, a Windows-1252 "é"
// and CR LF line ends.
const std::string kPlain =
    std::string("<?xml version=\"1.0\"?>\r\n<A>caf\xe9") + '\0' + "</A>\r\n";

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class DecipherCommandTest : public ::testing::Test {
 protected:
  DecipherCommandTest() : input(dir / "x.XML") {
    WriteBytes(input, EncipherText(kPlain));
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), "decipher");
    return testing::RunProgram(MX_BINARY, args, dir / "stdout", dir / "stderr");
  }
  std::string Stdout() { return ReadAll(dir / "stdout"); }
  std::string Stderr() { return ReadAll(dir / "stderr"); }

  testing::TempDir dir;
  std::string input;
};

TEST_F(DecipherCommandTest, PrintsThePlainTextByteForByte) {
  EXPECT_EQ(Run({input}), 0);
  EXPECT_EQ(Stdout(), kPlain);
  EXPECT_EQ(Stderr(), "");

  // A salt alone is the enciphered empty text.
  WriteBytes(input, std::string(10, '\x01'));
  EXPECT_EQ(Run({input}), 0);
  EXPECT_EQ(Stdout(), "");
}

TEST_F(DecipherCommandTest, OutWritesTheWholeFileInPlaceOfAnOlderOne) {
  const std::string out = dir / "plain.XML";
  WriteBytes(out, std::string(1000, 'o'));
  EXPECT_EQ(Run({input, "--out", out}), 0);
  EXPECT_EQ(ReadAll(out), kPlain);
  EXPECT_EQ(Stdout(), "");
}

TEST_F(DecipherCommandTest, AFileShorterThanTheSaltIsRefused) {
  WriteBytes(input, "123456789");
  const std::string out = dir / "plain.XML";
  EXPECT_EQ(Run({input, "--out", out}), 1);
  EXPECT_NE(Stderr().find("is not an enciphered file"), std::string::npos)
      << Stderr();
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(Stdout(), "");

  EXPECT_EQ(Run({dir / "missing.XML"}), 1);
  EXPECT_NE(Stderr().find("cannot read"), std::string::npos) << Stderr();
}

TEST_F(DecipherCommandTest, NeverWritesOverItsInput) {
  const std::string enciphered = ReadAll(input);
  fs::create_directory(dir / "sub");
  const std::string hard_link = dir / "hard.XML";
  const std::string soft_link = dir / "soft.XML";
  fs::create_hard_link(input, hard_link);
  fs::create_symlink(input, soft_link);
  for (const std::string& out :
       {input, dir / "sub/../x.XML", hard_link, soft_link}) {
    EXPECT_EQ(Run({input, "--out", out}), 2) << out;
    EXPECT_NE(Stderr().find("never writes over its input"), std::string::npos)
        << Stderr();
    EXPECT_EQ(ReadAll(input), enciphered) << out;
  }
  // Reading through a link and writing the file itself is the same file.
  EXPECT_EQ(Run({soft_link, "--out", input}), 2);
  EXPECT_EQ(ReadAll(input), enciphered);
}

TEST_F(DecipherCommandTest, UsageErrorsAndHelp) {
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({input, input}), 2);
  EXPECT_EQ(Run({input, "--out"}), 2);
  EXPECT_EQ(Run({input, "--to", "x"}), 2);
  EXPECT_EQ(Stdout(), "");

  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_EQ(Stdout().rfind("Usage: movx20xmlgen decipher FILE [--out FILE]", 0),
            0u);
}

}  // namespace
}  // namespace mx
