// The character classes and keyword test that the SQL text scanners share
// (row_order.h, sql_parameters.h). ASCII only, without the C locale's
// lookups: bytes from 0x80 on belong to words, as SQLite reads them.
#ifndef MX_REPOSITORY_SQL_WORDS_H_
#define MX_REPOSITORY_SQL_WORDS_H_

#include <string_view>

namespace mx::repository::sql {

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' ||
         c == '\v';
}

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

inline bool IsWordStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

inline bool IsWordByte(char c) {
  return IsWordStart(c) || IsDigit(c) || c == '$';
}

// True when `word` is `keyword` (given in lower case) in any case.
inline bool IsKeyword(std::string_view word, std::string_view keyword) {
  if (word.size() != keyword.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != keyword[i]) return false;
  }
  return true;
}

}  // namespace mx::repository::sql

#endif  // MX_REPOSITORY_SQL_WORDS_H_
