// The text streams: lines end in CR LF, files are written whole on Close.
#include "movx20xmlgen/text_stream.h"

#include "platform/env.h"
#include "platform/vb_text.h"

namespace mx {

void TextStream::WriteLine(std::string_view text) {
  Write(text);
  Write(vb::kCrLf);
}

void TextStream::WriteBlankLines(int count) {
  for (int i = 0; i < count; ++i) Write(vb::kCrLf);
}

void StdioTextStream::Write(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out_);
}

// The stream belongs to the caller (standard error); it is flushed, not
// closed.
void StdioTextStream::Close() { std::fflush(out_); }

FileTextStream::FileTextStream(Env* env, std::string path)
    : env_(env), path_(std::move(path)) {}

FileTextStream::~FileTextStream() {
  if (closed_) return;
  try {
    Close();
  } catch (...) {
    // Nobody is left to report to.
  }
}

void FileTextStream::Write(std::string_view text) { text_.append(text); }

// Closing twice writes once; a failed write is not retried.
void FileTextStream::Close() {
  if (closed_) return;
  closed_ = true;
  env_->WriteFile(path_, text_);
}

}  // namespace mx
