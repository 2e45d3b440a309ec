// The output cipher: deciphering what was enciphered gives every byte back,
// whatever the salt; the enciphered text is the salt and one byte per plain
// byte; a text of any bytes deciphers without fault, and one shorter than
// the salt is refused with error 5.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "movx20xmlgen/error.h"
#include "xml/cipher.h"

namespace {

// Salt numbers read from the input, so that every salt can be reached.
class InputSalt : public mx::SaltSource {
 public:
  explicit InputSalt(mx::fuzz::InputReader& reader) : reader_(reader) {}
  double Next() override { return reader_.Byte() / 256.0; }

 private:
  mx::fuzz::InputReader& reader_;
};

void CheckRoundTrip(const std::string& plain, mx::SaltSource& salt) {
  const std::string enciphered = mx::EncipherText(plain, salt);
  mx::fuzz::Check(enciphered.size() == plain.size() + mx::kCipherSaltLength,
                  "the enciphered text is the salt and one byte per byte");
  mx::fuzz::Check(mx::DecipherText(enciphered) == plain,
                  "deciphering gives the plain text back");
}

// Every byte value in one text, at once, whatever the corpus holds.
void CheckEveryByteValueOnce(mx::SaltSource& salt) {
  static bool done = false;
  if (done) return;
  done = true;
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  CheckRoundTrip(all + all, salt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mx::fuzz::LinearTimeBudget budget(size, 20000, 100);
  mx::fuzz::InputReader reader(data, size);
  InputSalt salt(reader);
  CheckEveryByteValueOnce(salt);
  // The first ten bytes chose the salt; the whole input is the text.
  const std::string plain(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(plain, salt);

  try {
    const std::string deciphered = mx::DecipherText(plain);
    mx::fuzz::Check(size >= mx::kCipherSaltLength &&
                        deciphered.size() == size - mx::kCipherSaltLength,
                    "any text of salt length or more deciphers");
  } catch (const mx::VbError& error) {
    mx::fuzz::Check(size < mx::kCipherSaltLength && error.number() == 5,
                    "only a text shorter than the salt is refused, error 5");
  }
  budget.Finish();
  return 0;
}
