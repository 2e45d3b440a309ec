// The output cipher. Enciphered texts are checked against a decipherer
// written here from the description of the cipher alone, so that a fault
// shared by both directions of the library's cipher is still caught.
#include "xml/cipher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "movx20xmlgen/text_stream.h"
#include "platform/env.h"
#include "testing/temp_dir.h"
#include "testing/test_context.h"
#include "xml/document_writer.h"

namespace mx {
namespace {

// Deciphers salt + enciphered text: the table S of 256 entries, every index
// reduced modulo 255, the working key "ZQWVMRTLPNDXH" + salt.
std::string IndependentDecipher(const std::string& file) {
  const std::string salt = file.substr(0, 10);
  const std::string key = "ZQWVMRTLPNDXH" + salt;
  std::vector<int> s(256);
  for (int n = 0; n <= 255; ++n) s[n] = n;
  int i = 0, j = 0, k = 0;
  for (int round = 1; round <= 256; ++round) {
    i = (i + 1) % 255;
    j = (static_cast<unsigned char>(key[k]) + j + s[i]) % 255;
    std::swap(s[i], s[j]);
    k = (k + 1) % static_cast<int>(key.size());
  }
  std::string plain;
  for (size_t at = 10; at < file.size(); ++at) {
    k = (k + 1) % 255;
    j = (s[k] + j) % 255;
    std::swap(s[k], s[j]);
    const int t = (s[j] + s[k]) % 255;
    plain.push_back(
        static_cast<char>(static_cast<unsigned char>(file[at]) ^ s[t]));
  }
  return plain;
}

// Gives the numbers it was made with, over and over.
class FixedSalt : public SaltSource {
 public:
  explicit FixedSalt(std::vector<double> numbers)
      : numbers_(std::move(numbers)) {}
  double Next() override { return numbers_[next_++ % numbers_.size()]; }

 private:
  std::vector<double> numbers_;
  size_t next_ = 0;
};

std::string Bytes(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s.push_back(static_cast<char>(c));
  return s;
}

// Every byte value at least once, in a random order, then random bytes.
std::string RandomText(std::mt19937& random, size_t extra) {
  std::string text;
  for (int c = 0; c < 256; ++c) text.push_back(static_cast<char>(c));
  std::shuffle(text.begin(), text.end(), random);
  std::uniform_int_distribution<int> byte(0, 255);
  for (size_t n = 0; n < extra; ++n)
    text.push_back(static_cast<char>(byte(random)));
  return text;
}

TEST(CipherTest, SaltCharacterIsItsPositionOrOneMore) {
  // The number rounds to the nearest whole number, a tie (0.5) to the even 0.
  FixedSalt numbers(
      {0.0, 0.5, 0.5000001, 0.999, 0.25, 0.75, 0.5, 0.51, 0.49, 0.0});
  EXPECT_EQ(MakeSalt(numbers), Bytes({1, 2, 4, 5, 5, 7, 7, 9, 9, 10}));
}

TEST(CipherTest, EncipheredTextIsSaltThenOneBytePerCharacter) {
  FixedSalt zeros({0.0});
  const std::string salt = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  EXPECT_EQ(EncipherText("", zeros), salt);

  const std::string plain =
      "<?xml version=\"1.0\"?>\r\n<X>caf\xe9 &amp; \x80</X>\r\n";
  const std::string enciphered = EncipherText(plain, zeros);
  ASSERT_EQ(enciphered.size(), 10 + plain.size());
  EXPECT_EQ(enciphered.substr(0, 10), salt);
  EXPECT_NE(enciphered.substr(10), plain);
  EXPECT_EQ(IndependentDecipher(enciphered), plain);
}

TEST(CipherTest, TableEntry255NeverMovesAndNulBytesAreKept) {
  // Enciphering NUL bytes gives the key bytes themselves. Entry 255 of the
  // table keeps the value 255 and is never chosen, so no key byte is 255,
  // while every other value turns up.
  FixedSalt salt({0.3, 0.7});
  const std::string zeros(65536, '\0');
  const std::string key_bytes = EncipherText(zeros, salt).substr(10);
  std::set<unsigned char> seen(key_bytes.begin(), key_bytes.end());
  EXPECT_EQ(seen.count(255), 0u);
  EXPECT_EQ(seen.size(), 255u);

  // The key bytes as plain text encipher to NUL bytes, every one of them
  // kept, in the text and in the written file.
  FixedSalt same_salt({0.3, 0.7});
  const std::string enciphered = EncipherText(key_bytes, same_salt);
  EXPECT_EQ(enciphered.substr(10), zeros);
  testing::TempDir dir;
  Env::Default()->WriteFile(dir / "x.XML", enciphered);
  EXPECT_EQ(Env::Default()->ReadFile(dir / "x.XML"), enciphered);
}

TEST(CipherTest, RandomTextsOfEveryByteValueComeBack) {
  std::mt19937 random(20260102);
  for (size_t extra : {0, 1, 254, 255, 256, 5000}) {
    const std::string plain = RandomText(random, extra);
    const std::string enciphered = EncipherText(plain);
    EXPECT_EQ(IndependentDecipher(enciphered), plain) << extra;
    EXPECT_EQ(DecipherText(enciphered), plain) << extra;
  }
}

TEST(CipherTest, EverySaltGivesTheKeyStreamOfTheDescription) {
  // The 1,024 salts schedule 1,024 tables; each key stream runs through
  // several turns of its index past 255.
  std::mt19937 random(20261206);
  const std::string plain = RandomText(random, 700);
  for (int bits = 0; bits < 1024; ++bits) {
    std::vector<double> numbers;
    for (int n = 0; n < 10; ++n) numbers.push_back((bits >> n) & 1 ? 0.9 : 0.1);
    FixedSalt salt(numbers);
    const std::string enciphered = EncipherText(plain, salt);
    ASSERT_EQ(IndependentDecipher(enciphered), plain) << bits;
  }
}

TEST(CipherTest, ASaltsKeyStreamIsTheSameWhateverItWasUsedForBefore) {
  // One salt for texts of growing and shrinking lengths, on both sides of
  // 16 KB (the part of each salt's key stream kept between texts): every
  // text must get the key stream from its start.
  std::mt19937 random(7);
  for (size_t extra : {100, 20000, 50, 16128, 16129, 70000, 16000, 0}) {
    const std::string plain = RandomText(random, extra);
    FixedSalt salt({0.9, 0.1, 0.6});
    const std::string enciphered = EncipherText(plain, salt);
    ASSERT_EQ(IndependentDecipher(enciphered), plain) << extra;
    ASSERT_EQ(DecipherText(enciphered), plain) << extra;
  }
  // A salt MakeSalt never makes is deciphered as well.
  const std::string odd_salt = Bytes({0, 255, 3, 4, 5, 6, 7, 8, 9, 99});
  const std::string text = odd_salt + std::string(40000, 'x');
  EXPECT_EQ(DecipherText(text), IndependentDecipher(text));
}

TEST(CipherTest, EveryEncipheringDrawsANewSalt) {
  // Ten characters of two choices each: twenty equal salts in a row would
  // be a broken source.
  std::set<std::string> salts;
  for (int n = 0; n < 20; ++n) {
    const std::string enciphered = EncipherText("same text");
    EXPECT_EQ(IndependentDecipher(enciphered), "same text");
    salts.insert(enciphered.substr(0, 10));
  }
  EXPECT_GT(salts.size(), 1u);
}

TEST(CipherTest, CipherTextReportsATextShorterThanTheSalt) {
  testing::TestContext t(GeneratorKind::kLegacy);
  BuildContext& ctx = t.ctx;
  const auto& log = t.log;
  FixedSalt salt({0.6});
  const std::string enciphered = Cipher_Text(ctx, "abc", true, salt);
  EXPECT_EQ(IndependentDecipher(enciphered), "abc");
  EXPECT_EQ(Cipher_Text(ctx, enciphered, false), "abc");
  EXPECT_EQ(log->text(), "");

  EXPECT_EQ(Cipher_Text(ctx, enciphered.substr(0, 9), false), "");
  EXPECT_EQ(ctx.error_description(),
            "\t\tERROR:-  5 - Invalid procedure call or argument\r\n");
  EXPECT_EQ(log->text(), ctx.error_description());
}

}  // namespace
}  // namespace mx

namespace mx {
namespace {

// Enciphered documents carry connection details: only their owner may read
// them, whatever the umask; plain documents keep the usual mode.
TEST(EncipheredDocument, IsOwnerOnly) {
  testing::TempDir dir;
  const auto mode_of = [&](DocumentPlan::Storage storage) {
    DocumentPlan plan;
    plan.folder = "qxfil";
    plan.file_name = "x.XML";
    plan.opening = "<A>";
    plan.closing = "</A>";
    plan.checked = false;
    plan.storage = storage;
    const mode_t saved = umask(0);
    EXPECT_TRUE(WriteDocument(plan, dir.path().string(), *Env::Default()));
    umask(saved);
    struct stat st;
    EXPECT_EQ(stat((dir.path() / "qxfil" / "x.XML").c_str(), &st), 0);
    return st.st_mode & 07777;
  };
  EXPECT_EQ(mode_of(DocumentPlan::Storage::kPlain), 0666u);
  EXPECT_EQ(mode_of(DocumentPlan::Storage::kEnciphered), 0600u);
}

}  // namespace
}  // namespace mx
