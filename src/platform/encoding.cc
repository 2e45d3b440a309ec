// Conversion between UTF-8 and Windows-1252. The 256 bytes of the code page
// are learned from iconv once and then mapped by table, so that large texts
// cost little more than a copy; only characters outside the code page go
// through iconv's transliteration. That runs under a fixed C.UTF-8
// character-type locale (the plain C locale where that is missing), so that the
// result does not depend on the environment of the process.
#include "platform/encoding.h"

#include <errno.h>
#include <iconv.h>
#include <locale.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <unordered_map>

#include "platform/utf8.h"

namespace mx {
namespace {

constexpr char kCodePage[] = "WINDOWS-1252";
constexpr char kCodePageTranslit[] = "WINDOWS-1252//TRANSLIT";
constexpr char kUtf8[] = "UTF-8";
constexpr char kNoLikeness = '?';

size_t AsciiPrefixLength(std::string_view s) {
  size_t n = 0;
  while (n < s.size() && static_cast<unsigned char>(s[n]) < 0x80) ++n;
  return n;
}

// ---------------------------------------------------------------------------
// iconv

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") +
                               from + " to " + to);
    }
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts `in` whole, appending to `out`. A character that iconv refuses
  // becomes "?"; `char_length` tells how long the character at a position is
  // so that it can be stepped over.
  template <typename CharLength>
  void Convert(std::string_view in, std::string& out, CharLength char_length) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buffer[1024];
    while (src_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      const size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      const int error = errno;
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (rc != static_cast<size_t>(-1) || error == E2BIG) continue;
      out += kNoLikeness;  // EILSEQ or EINVAL: step over one character
      const size_t skip = char_length(static_cast<size_t>(src - in.data()));
      src += skip;
      src_left -= skip;
    }
    FlushShiftState(out);
  }

 private:
  void FlushShiftState(std::string& out) {
    char buffer[64];
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &dst_left);
    out.append(buffer, static_cast<size_t>(dst - buffer));
  }

  iconv_t cd_;
};

// Makes the fixed character-type locale current for the lifetime of the
// object, as transliteration reads its tables from it.
class TranslitLocale {
 public:
  TranslitLocale() : previous_(uselocale(Fixed())) {}
  ~TranslitLocale() { uselocale(previous_); }
  TranslitLocale(const TranslitLocale&) = delete;
  TranslitLocale& operator=(const TranslitLocale&) = delete;

 private:
  static locale_t Fixed() {
    static const locale_t fixed = [] {
      locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
      if (l == locale_t{}) l = newlocale(LC_CTYPE_MASK, "C", locale_t{});
      return l;
    }();
    return fixed == locale_t{} ? LC_GLOBAL_LOCALE : fixed;
  }

  locale_t previous_;
};

// ---------------------------------------------------------------------------
// The code page as tables

// Bytes the code page leaves undefined; they stand for the C1 control of the
// same number, both ways, so that every byte survives a round trip.
bool IsUndefinedByte(unsigned c) {
  return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

struct CodePage {
  std::array<std::string, 256> to_utf8;
  std::unordered_map<uint32_t, char> from_code_point;  // non-ASCII only
};

uint32_t CodePointOfByte(Iconv& to_utf8, unsigned c) {
  if (IsUndefinedByte(c)) return c;
  const char byte = static_cast<char>(c);
  std::string utf8;
  to_utf8.Convert(std::string_view(&byte, 1), utf8, [](size_t) { return 1; });
  uint32_t cp = 0;
  if (utf8.empty() || DecodeUtf8(utf8, 0, &cp) != utf8.size() || cp < 0x80) {
    return c;  // refused: keep the byte's own number
  }
  return cp;
}

CodePage LearnCodePage() {
  Iconv to_utf8(kUtf8, kCodePage);
  CodePage page;
  for (unsigned c = 0; c < 256; ++c) {
    const uint32_t cp = c < 0x80 ? c : CodePointOfByte(to_utf8, c);
    AppendUtf8(page.to_utf8[c], cp);
    if (c >= 0x80) page.from_code_point.emplace(cp, static_cast<char>(c));
  }
  return page;
}

const CodePage& Page() {
  static const CodePage page = LearnCodePage();
  return page;
}

// ---------------------------------------------------------------------------
// UTF-8 to the code page

size_t Utf8Length(std::string_view s, size_t i) {
  uint32_t cp;
  const size_t length = DecodeUtf8(s, i, &cp);
  return length == 0 ? 1 : length;
}

// Characters outside the code page, converted with transliteration.
void AppendTransliterated(std::string_view run, std::string& out) {
  thread_local Iconv translit(kCodePageTranslit, kUtf8);
  TranslitLocale locale;
  translit.Convert(run, out, [run](size_t at) { return Utf8Length(run, at); });
}

// Valid UTF-8 to the code page; nullopt at the first invalid character.
// Runs of characters that the code page lacks are handed to iconv together,
// so that it sees them in context.
std::optional<std::string> ConvertToCodePage(std::string_view utf8) {
  const auto& table = Page().from_code_point;
  std::string out;
  out.reserve(utf8.size());
  size_t lacking_start = 0;  // the pending run [lacking_start, lacking_end)
  size_t lacking_end = 0;
  const auto flush_lacking = [&] {
    if (lacking_end > lacking_start) {
      AppendTransliterated(
          utf8.substr(lacking_start, lacking_end - lacking_start), out);
    }
    lacking_start = lacking_end = 0;
  };
  for (size_t i = 0; i < utf8.size();) {
    const size_t ascii = AsciiPrefixLength(utf8.substr(i));
    if (ascii > 0) {
      flush_lacking();
      out.append(utf8.substr(i, ascii));
      i += ascii;
      continue;
    }
    uint32_t cp;
    const size_t length = DecodeUtf8(utf8, i, &cp);
    if (length == 0) return std::nullopt;
    const auto found = table.find(cp);
    if (found != table.end()) {
      flush_lacking();
      out += found->second;
    } else {
      if (lacking_end != i) lacking_start = i;
      lacking_end = i + length;
    }
    i += length;
  }
  flush_lacking();
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToWin1252(std::string_view utf8) {
  if (AsciiPrefixLength(utf8) == utf8.size()) return std::string(utf8);
  return ConvertToCodePage(utf8);
}

std::string Win1252ToUtf8(std::string_view text) {
  if (AsciiPrefixLength(text) == text.size()) return std::string(text);
  const auto& table = Page().to_utf8;
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (size_t i = 0; i < text.size();) {
    const size_t ascii = AsciiPrefixLength(text.substr(i));
    out.append(text.substr(i, ascii));
    i += ascii;
    if (i < text.size()) out += table[static_cast<unsigned char>(text[i++])];
  }
  return out;
}

}  // namespace mx
