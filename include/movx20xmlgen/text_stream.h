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

// A file written as the text comes, a line at a time: each line goes to the
// file as soon as it ends, so another program can follow the file and a run
// that stops leaves every line written so far. The file is written in place
// (created, or emptied and rewritten; never replaced), so a device, a FIFO
// or a link stays what it is; "-" is standard output, and so is any name
// of the file that standard output (or error) already writes. The path is the
// system's name (UTF-8), taken as given. Opening raises 76 when the folder
// is missing, 70 "Permission denied" for an existing file that may not be
// replaced (see MayReplaceFile) and 75 for any other failure; Close raises
// 75 when a write failed on the way.
class LineFileTextStream : public TextStream {
 public:
  static std::shared_ptr<LineFileTextStream> Open(
      const std::string& system_path);
  ~LineFileTextStream() override;
  LineFileTextStream(const LineFileTextStream&) = delete;
  LineFileTextStream& operator=(const LineFileTextStream&) = delete;

  void Write(std::string_view text) override;
  void Close() override;

 private:
  explicit LineFileTextStream(int fd) : fd_(fd) {}
  void Send(std::string_view bytes);

  int fd_;
  std::string pending_;  // the start of a line not yet ended
  bool failed_ = false;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_TEXT_STREAM_H_
