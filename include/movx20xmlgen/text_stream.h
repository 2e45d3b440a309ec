// The text stream that receives the log and the plain text files: Write,
// WriteLine (which ends the line with CR LF), WriteBlankLines and Close.
// Text is Windows-1252 bytes and goes out unchanged.
#ifndef MOVX20XMLGEN_TEXT_STREAM_H_
#define MOVX20XMLGEN_TEXT_STREAM_H_

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace mx {

class Env;

class TextStream {
 public:
  virtual ~TextStream() = default;
  virtual void Write(std::string_view text) = 0;
  virtual void Close() = 0;

  void WriteLine(std::string_view text);
  void WriteBlankLines(int count);
};

// Collects everything in memory; tests and callers that want the text.
class StringTextStream : public TextStream {
 public:
  void Write(std::string_view text) override { text_.append(text); }
  void Close() override {}
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Writes straight through to a C stream (the log on standard error).
class StdioTextStream : public TextStream {
 public:
  explicit StdioTextStream(std::FILE* out) : out_(out) {}
  void Write(std::string_view text) override;
  void Close() override;

 private:
  std::FILE* out_;
};

// A file written whole: the text is kept until Close, which writes it to a
// temporary file beside the target and renames it over the target. Close
// raises the Env's error when the file cannot be written; a stream that is
// destroyed without Close still tries once, silently.
class FileTextStream : public TextStream {
 public:
  FileTextStream(Env* env, std::string path);
  ~FileTextStream() override;
  void Write(std::string_view text) override;
  void Close() override;

 private:
  Env* env_;
  std::string path_;
  std::string text_;
  bool closed_ = false;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_TEXT_STREAM_H_
