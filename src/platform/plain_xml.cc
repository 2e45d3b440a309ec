// One pass over the text with a stack of the open elements' names; any byte
// or construct outside the plain subset ends the test with false at once.
//
// The subset, in the terms of the XML 1.0 grammar:
//   document  ::= S? element S?
//   element   ::= '<' Name (S Attribute)* S? '/>'
//               | '<' Name (S Attribute)* S? '>' content '</' Name S? '>'
//   Attribute ::= Name S? '=' S? ('"' value '"' | "'" value "'")
//   content   ::= (CharData | element | Reference)*
//   Reference ::= '&lt;' | '&gt;' | '&amp;' | '&quot;' | '&apos;'
//   Name      ::= [A-Za-z_] [A-Za-z0-9._-]*
// where no name starts with "xml" in any case (names XML reserves), the
// attribute names of an element all differ, every end tag names its start
// tag, characters are TAB, LF, CR and the printable ASCII range (0x20 to
// 0x7E), and "]]>" appears nowhere.
#include "platform/plain_xml.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mx {
namespace {

// What a byte may be, as flags; control characters, DEL and bytes outside
// ASCII have none.
enum ByteFlag : uint8_t {
  kData = 1,  // text as it stands: an allowed character but "<", "&", "]"
  kSpace = 2,
  kNameStart = 4,
  kNameByte = 8,
};

constexpr std::array<uint8_t, 256> MakeByteFlags() {
  std::array<uint8_t, 256> flags{};
  for (int c = 0x20; c <= 0x7E; ++c) flags[c] = kData;
  for (int c : {'\t', '\n', '\r'}) flags[c] = kData;
  for (int c : {'<', '&', ']'}) flags[c] = 0;
  for (int c : {' ', '\t', '\n', '\r'}) flags[c] |= kSpace;
  for (int c = 'A'; c <= 'Z'; ++c) flags[c] |= kNameStart | kNameByte;
  for (int c = 'a'; c <= 'z'; ++c) flags[c] |= kNameStart | kNameByte;
  flags['_'] |= kNameStart | kNameByte;
  for (int c = '0'; c <= '9'; ++c) flags[c] |= kNameByte;
  for (int c : {'.', '-'}) flags[c] |= kNameByte;
  return flags;
}

constexpr std::array<uint8_t, 256> kByteFlags = MakeByteFlags();

bool Has(char c, ByteFlag flag) {
  return (kByteFlags[static_cast<unsigned char>(c)] & flag) != 0;
}

bool IsSpace(char c) { return Has(c, kSpace); }
bool IsNameStart(char c) { return Has(c, kNameStart); }
bool IsNameByte(char c) { return Has(c, kNameByte); }

bool IsReserved(std::string_view name) {
  if (name.size() < 3) return false;
  return (name[0] == 'x' || name[0] == 'X') &&
         (name[1] == 'm' || name[1] == 'M') &&
         (name[2] == 'l' || name[2] == 'L');
}

class PlainReader {
 public:
  explicit PlainReader(std::string_view text) : text_(text) {}

  bool Document() {
    SkipSpace();
    if (!StartTag()) return false;
    while (!open_.empty()) {
      if (!Content()) return false;
      // At "<": an end tag, or a child element.
      if (At(pos_ + 1) == '/') {
        if (!EndTag()) return false;
      } else if (!StartTag()) {
        return false;
      }
    }
    SkipSpace();
    return pos_ == text_.size();
  }

 private:
  char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

  bool SkipSpace() {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    return pos_ > start;
  }

  bool Expect(char c) {
    if (At(pos_) != c) return false;
    ++pos_;
    return true;
  }

  bool Name(std::string_view* name) {
    const size_t start = pos_;
    if (!IsNameStart(At(pos_))) return false;
    ++pos_;
    while (pos_ < text_.size() && IsNameByte(text_[pos_])) ++pos_;
    *name = text_.substr(start, pos_ - start);
    return !IsReserved(*name);
  }

  // After "&": one of the five predefined entities and its ";".
  bool Reference() {
    for (std::string_view entity : {"lt;", "gt;", "amp;", "quot;", "apos;"}) {
      if (text_.compare(pos_, entity.size(), entity) == 0) {
        pos_ += entity.size();
        return true;
      }
    }
    return false;
  }

  // Text (content or attribute value) up to `stop`, which ends it: data,
  // references, and "]" that does not start "]]>". False at anything else,
  // or when the text ends first.
  bool TextUpTo(char stop) {
    for (;;) {
      while (pos_ < text_.size() && Has(text_[pos_], kData) &&
             text_[pos_] != stop) {
        ++pos_;
      }
      if (pos_ == text_.size()) return false;
      const char c = text_[pos_];
      if (c == stop) return true;
      ++pos_;
      if (c == '&') {
        if (!Reference()) return false;
      } else if (c != ']' || (At(pos_) == ']' && At(pos_ + 1) == '>')) {
        return false;
      }
    }
  }

  // Character data and references up to the next "<".
  bool Content() { return TextUpTo('<'); }

  bool AttributeValue() {
    const char quote = At(pos_);
    if (quote != '"' && quote != '\'') return false;
    ++pos_;
    return TextUpTo(quote) && Expect(quote);
  }

  // At "<": a start tag or an empty-element tag.
  bool StartTag() {
    std::string_view name;
    if (!Expect('<') || !Name(&name)) return false;
    attributes_.clear();
    for (;;) {
      const bool spaced = SkipSpace();
      if (At(pos_) == '>') {
        ++pos_;
        open_.push_back(name);
        return true;
      }
      if (At(pos_) == '/') {
        ++pos_;
        return Expect('>');
      }
      std::string_view attribute;
      if (!spaced || !Name(&attribute)) return false;
      for (std::string_view seen : attributes_) {
        if (seen == attribute) return false;
      }
      attributes_.push_back(attribute);
      SkipSpace();
      if (!Expect('=')) return false;
      SkipSpace();
      if (!AttributeValue()) return false;
    }
  }

  // At "</": the end tag of the innermost open element.
  bool EndTag() {
    pos_ += 2;
    std::string_view name;
    if (!Name(&name) || name != open_.back()) return false;
    SkipSpace();
    if (!Expect('>')) return false;
    open_.pop_back();
    return true;
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::vector<std::string_view> open_;
  std::vector<std::string_view> attributes_;  // of the tag being read
};

}  // namespace

bool IsPlainWellFormedXml(std::string_view text) {
  return PlainReader(text).Document();
}

PlainJoin::PlainJoin(std::string_view opening, std::string_view closing) {
  std::string frame(opening);
  frame += "<a/>";
  frame += closing;
  plain_ = IsPlainWellFormedXml(frame);
}

void PlainJoin::Add(std::string_view before, std::string_view piece,
                    bool plain) {
  if (!plain_) return;
  // Two characters each side hold every "]]>" that crosses the meeting
  // point.
  std::string meeting(
      before.substr(before.size() - std::min<size_t>(before.size(), 2)));
  meeting += piece.substr(0, 2);
  plain_ = plain && meeting.find("]]>") == std::string::npos;
}

}  // namespace mx
