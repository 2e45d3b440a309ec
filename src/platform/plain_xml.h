// A quick well-formedness test for the plain XML that the document builders
// write: ASCII text made of elements with attributes, character data and the
// five predefined entity references, one root element with blanks around it.
// It is sure, not complete: true only for text that is well-formed; false for
// any text it cannot vouch for (another construct such as a comment, a
// character reference or a byte outside ASCII, or an error), which expat
// then reads in full. Expat stays the judge of every text this test does
// not accept, and the only source of error messages and line numbers.
#ifndef MX_PLATFORM_PLAIN_XML_H_
#define MX_PLATFORM_PLAIN_XML_H_

#include <string_view>

namespace mx {

bool IsPlainWellFormedXml(std::string_view text);

// A document joined from a frame (the root's opening and closing) and
// content pieces, each of which passed the plain test inside an element of
// its own. Plain content joins into plain content except where "]]>" forms
// across the point where two pieces meet, so such a document is plain when
// its frame is and no piece met its neighbour that way: then it need not be
// read again. The pieces are given in order; the frame's opening is the
// first text, its closing the last.
class PlainJoin {
 public:
  // Plain when an element fits between `opening` and `closing`.
  PlainJoin(std::string_view opening, std::string_view closing);

  // `piece` follows `before`, the text joined so far; `plain` is its own
  // verdict.
  void Add(std::string_view before, std::string_view piece, bool plain);

  // True only when the joined text is sure to be plain well-formed XML.
  bool plain() const { return plain_; }

 private:
  bool plain_;
};

}  // namespace mx

#endif  // MX_PLATFORM_PLAIN_XML_H_
