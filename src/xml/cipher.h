// The cipher of the legacy class's output files. A byte stream cipher with a
// 256-entry permutation table whose every index is taken modulo 255, keyed
// by a fixed key joined with a 10-character salt; the salt is written in
// front of the enciphered bytes, so an enciphered text is 10 bytes longer
// than its plain text and carries everything needed to decipher it. Text is
// Windows-1252: one character is one byte, and any byte (NUL included) may
// occur on either side. The key stream depends on the salt alone, so the
// process keeps the key bytes of each of the 1,024 salts MakeSalt makes as
// texts need them (up to 16 KB a salt, 16 MB in all); the functions may be
// called from several threads.
#ifndef MX_XML_CIPHER_H_
#define MX_XML_CIPHER_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "context/build_context.h"

namespace mx {

inline constexpr size_t kCipherSaltLength = 10;

// The random numbers a salt is made of.
class SaltSource {
 public:
  virtual ~SaltSource() = default;
  // A number r with 0 <= r < 1.
  virtual double Next() = 0;

  // A standard-library generator seeded from the system's entropy source;
  // one per thread, living as long as the thread.
  static SaltSource* Default();
};

// Ten characters; the n-th (n = 1..10) has the code n, or n + 1 when the
// number drawn for it rounds (half to even) to 1.
std::string MakeSalt(SaltSource& source);

// Salt + enciphered text: the bytes of the enciphered file.
std::string EncipherText(std::string_view plain,
                         SaltSource& source = *SaltSource::Default());

// The plain text of salt + enciphered text. A text shorter than the salt is
// not an enciphered text: error 5 ("Invalid procedure call or argument").
std::string DecipherText(std::string_view enciphered);

// Cipher_Text as the legacy builders call it: enciphers (true) or deciphers
// (false). A failure is reported in the legacy class's words and gives an
// empty text.
std::string Cipher_Text(BuildContext& ctx, std::string_view text, bool encipher,
                        SaltSource& source = *SaltSource::Default());

}  // namespace mx

#endif  // MX_XML_CIPHER_H_
