#include "xml/cipher.h"

#include <array>
#include <cstdint>
#include <random>

#include "movx20xmlgen/error.h"

namespace mx {

namespace {

constexpr std::string_view kFixedKey = "ZQWVMRTLPNDXH";
// Every index of the table is reduced modulo 255, not 256: index 255 is
// never chosen, so S[255] keeps 255 and no key byte is ever 255.
constexpr int kModulus = 255;

constexpr int kInvalidArgument = 5;

class SeededSaltSource : public SaltSource {
 public:
  SeededSaltSource() {
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy(),
                       entropy(), entropy(), entropy(), entropy()};
    engine_.seed(seed);
  }

  double Next() override { return uniform_(engine_); }

 private:
  std::mt19937_64 engine_;
  std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

// The key bytes for one text: the table is scheduled from the working key
// (fixed key + salt), then every call gives the byte that the next text
// character is combined with.
class KeyStream {
 public:
  explicit KeyStream(std::string_view working_key) {
    for (size_t n = 0; n < table_.size(); ++n) {
      table_[n] = static_cast<uint8_t>(n);
    }
    int i = 0;
    for (size_t round = 0; round < table_.size(); ++round) {
      i = (i + 1) % kModulus;
      j_ = (CodeAt(working_key, k_) + j_ + table_[i]) % kModulus;
      std::swap(table_[i], table_[j_]);
      k_ = (k_ + 1) % static_cast<int>(working_key.size());
    }
  }

  // k and j carry on from the scheduling; i is not used here.
  uint8_t Next() {
    k_ = (k_ + 1) % kModulus;
    j_ = (table_[k_] + j_) % kModulus;
    std::swap(table_[k_], table_[j_]);
    const int t = (table_[j_] + table_[k_]) % kModulus;
    return table_[t];
  }

 private:
  static int CodeAt(std::string_view text, int position) {
    return static_cast<unsigned char>(text[static_cast<size_t>(position)]);
  }

  std::array<uint8_t, 256> table_;
  int j_ = 0;
  int k_ = 0;
};

// Enciphering and deciphering are the same computation for a given salt.
std::string CombineWithKeyStream(std::string_view salt, std::string_view text) {
  KeyStream key_stream(std::string(kFixedKey) + std::string(salt));
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out.push_back(
        static_cast<char>(static_cast<unsigned char>(c) ^ key_stream.Next()));
  }
  return out;
}

}  // namespace

SaltSource* SaltSource::Default() {
  thread_local SeededSaltSource source;
  return &source;
}

std::string MakeSalt(SaltSource& source) {
  std::string salt;
  for (size_t n = 1; n <= kCipherSaltLength; ++n) {
    // The nearest whole number to r in [0, 1), a tie going to the even 0.
    const size_t whole = source.Next() > 0.5 ? 1 : 0;
    salt.push_back(static_cast<char>(n + whole));
  }
  return salt;
}

std::string EncipherText(std::string_view plain, SaltSource& source) {
  const std::string salt = MakeSalt(source);
  return salt + CombineWithKeyStream(salt, plain);
}

std::string DecipherText(std::string_view enciphered) {
  if (enciphered.size() < kCipherSaltLength) {
    throw VbError(kInvalidArgument, "MOVX20XMLGenerator",
                  "Invalid procedure call or argument");
  }
  return CombineWithKeyStream(enciphered.substr(0, kCipherSaltLength),
                              enciphered.substr(kCipherSaltLength));
}

std::string Cipher_Text(BuildContext& ctx, std::string_view text, bool encipher,
                        SaltSource& source) {
  try {
    return encipher ? EncipherText(text, source) : DecipherText(text);
  } catch (const VbError& e) {
    ctx.ReportOperationError(e);
    return std::string();
  }
}

}  // namespace mx
