#include "xml/cipher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
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

  // Combines `text` with the next text.size() key bytes into
  // out[0, text.size()).
  void Apply(std::string_view text, char* out) {
    Run</*kWithText=*/true>(text.data(), text.size(), out);
  }
  // The next n key bytes into out[0, n).
  void Generate(size_t n, char* out) {
    Run</*kWithText=*/false>(nullptr, n, out);
  }

 private:
  // k and j carry on from the scheduling (k is below the key's length, so
  // below 255); i is not used here. The state is worked on in locals: `out`
  // may alias anything, and would otherwise make every step reload it.
  template <bool kWithText>
  void Run(const char* text, size_t n_bytes, char* out) {
    std::array<uint8_t, 256> table = table_;
    int j = j_;
    int k = k_;
    for (size_t n = 0; n < n_bytes; ++n) {
      k = k + 1 == kModulus ? 0 : k + 1;
      // The two entries swapped; after the swap their sum is the same (and
      // when k == j both are the one entry), so it needs no reloading.
      const uint8_t at_k = table[k];
      j = Reduced(at_k + j);
      const uint8_t at_j = table[j];
      table[k] = at_j;
      table[j] = at_k;
      const uint8_t key = table[Reduced(at_k + at_j)];
      if constexpr (kWithText) {
        out[n] = static_cast<char>(static_cast<unsigned char>(text[n]) ^ key);
      } else {
        out[n] = static_cast<char>(key);
      }
    }
    table_ = table;
    j_ = j;
    k_ = k;
  }

  static int CodeAt(std::string_view text, int position) {
    return static_cast<unsigned char>(text[static_cast<size_t>(position)]);
  }

  std::array<uint8_t, 256> table_;
  int j_ = 0;
  int k_ = 0;
};

// The salt's number among the 1,024 salts MakeSalt makes (bit n set when
// character n is one more than its position), or nullopt for any other salt.
std::optional<size_t> SaltNumber(std::string_view salt) {
  size_t number = 0;
  for (size_t n = 0; n < kCipherSaltLength; ++n) {
    const int over =
        static_cast<unsigned char>(salt[n]) - static_cast<int>(n + 1);
    if (over != 0 && over != 1) return std::nullopt;
    number |= static_cast<size_t>(over) << n;
  }
  return number;
}

std::string WorkingKey(std::string_view salt) {
  std::string working_key(kFixedKey);
  working_key += salt;
  return working_key;
}

// A salt's key stream depends on the salt alone, and a run enciphers
// thousands of documents with the 1,024 salts MakeSalt makes: the key bytes
// of each salt are kept, as far as texts have needed them and up to
// kKeptBytes, with the state to go on from. A document then costs one pass
// that combines two texts instead of a long chain of dependent steps.
// At most 16 MB, taken only as documents need it.
class KeptKeyStreams {
 public:
  static constexpr size_t kKeptBytes = 16 * 1024;

  void Combine(size_t salt_number, std::string_view salt, std::string_view text,
               char* out) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::unique_ptr<Kept>& kept = kept_[salt_number];
    if (!kept) kept = std::make_unique<Kept>(WorkingKey(salt));
    const size_t kept_part = std::min(text.size(), kKeptBytes);
    kept->MakeAtLeast(kept_part);
    // Through local pointers: a store through `out` could change the
    // kept text's pointer as far as the compiler knows.
    const char* key = kept->key_bytes.data();
    const char* in = text.data();
    for (size_t n = 0; n < kept_part; ++n) {
      out[n] = static_cast<char>(in[n] ^ key[n]);
    }
    if (text.size() > kept_part) {
      // Past the kept bytes (kept_part == kKeptBytes, all of them made): a
      // copy of the state goes on.
      KeyStream rest = kept->after;
      rest.Apply(text.substr(kept_part), out + kept_part);
    }
  }

 private:
  struct Kept {
    explicit Kept(std::string_view working_key) : after(working_key) {}
    void MakeAtLeast(size_t n) {
      const size_t made = key_bytes.size();
      if (made >= n) return;
      key_bytes.resize(n);
      after.Generate(n - made, key_bytes.data() + made);
    }
    std::string key_bytes;
    KeyStream after;  // the state after key_bytes
  };

  std::mutex mutex_;
  std::array<std::unique_ptr<Kept>, size_t{1} << kCipherSaltLength> kept_;
};

KeptKeyStreams& KeptStreams() {
  static KeptKeyStreams* streams = new KeptKeyStreams();
  return *streams;
}

// Enciphering and deciphering are the same computation for a given salt:
// `text` combined with the key stream goes to out[0, text.size()).
void CombineWithKeyStream(std::string_view salt, std::string_view text,
                          char* out) {
  if (const std::optional<size_t> number = SaltNumber(salt)) {
    KeptStreams().Combine(*number, salt, text, out);
    return;
  }
  KeyStream(WorkingKey(salt)).Apply(text, out);
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
