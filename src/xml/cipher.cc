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

// Reduces a sum of two table entries or indexes below 255. Every index is
// below 255 and every entry but S[255] (never chosen) is, so a sum is below
// 510 and one subtraction does what the modulo does. Without a branch: the
// sums fall either way at random.
inline int Reduced(int sum) {
  const int less = sum - kModulus;
  return less + ((less >> 31) & kModulus);
}

// The key bytes for one text: the table is scheduled from the working key
// (fixed key + salt), then each byte of the text is combined with the next
// key byte.
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

  // Combines `text` with the key bytes into out[0, text.size()). k and j
  // carry on from the scheduling (k is below the key's length, so below
  // 255); i is not used here. The state is worked on in locals: `out` may
  // alias anything, and would otherwise make every step reload it.
  void Apply(std::string_view text, char* out) {
    std::array<uint8_t, 256> table = table_;
    int j = j_;
    int k = k_;
    for (size_t n = 0; n < text.size(); ++n) {
      k = k + 1 == kModulus ? 0 : k + 1;
      // The two entries swapped; after the swap their sum is the same (and
      // when k == j both are the one entry), so it needs no reloading.
      const uint8_t at_k = table[k];
      j = Reduced(at_k + j);
      const uint8_t at_j = table[j];
      table[k] = at_j;
      table[j] = at_k;
      const uint8_t key = table[Reduced(at_k + at_j)];
      out[n] = static_cast<char>(static_cast<unsigned char>(text[n]) ^ key);
    }
    table_ = table;
    j_ = j;
    k_ = k;
  }

 private:
  static int CodeAt(std::string_view text, int position) {
    return static_cast<unsigned char>(text[static_cast<size_t>(position)]);
  }

  std::array<uint8_t, 256> table_;
  int j_ = 0;
  int k_ = 0;
};

// Enciphering and deciphering are the same computation for a given salt:
// `text` combined with the key stream goes to out[0, text.size()).
void CombineWithKeyStream(std::string_view salt, std::string_view text,
                          char* out) {
  std::string working_key(kFixedKey);
  working_key += salt;
  KeyStream(working_key).Apply(text, out);
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
  std::string enciphered = MakeSalt(source);
  enciphered.resize(kCipherSaltLength + plain.size());
  CombineWithKeyStream(
      std::string_view(enciphered).substr(0, kCipherSaltLength), plain,
      enciphered.data() + kCipherSaltLength);
  return enciphered;
}

std::string DecipherText(std::string_view enciphered) {
  if (enciphered.size() < kCipherSaltLength) {
    throw VbError(kInvalidArgument, "MOVX20XMLGenerator",
                  "Invalid procedure call or argument");
  }
  std::string plain(enciphered.size() - kCipherSaltLength, '\0');
  CombineWithKeyStream(enciphered.substr(0, kCipherSaltLength),
                       enciphered.substr(kCipherSaltLength), plain.data());
  return plain;
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
