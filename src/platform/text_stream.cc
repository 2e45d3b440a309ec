// The text streams: lines end in CR LF; a FileTextStream is written whole
// on Close, a LineFileTextStream line by line.
#include "movx20xmlgen/text_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "movx20xmlgen/error.h"
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

namespace {

VbError OpenError(int error_number) {
  switch (error_number) {
    case ENOENT:
    case ENOTDIR:
      return errors::PathNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
      return errors::PermissionDenied();
    default:
      return errors::FileAccess();
  }
}

// Opens without truncating, so that a file that is refused is not touched.
int OpenInPlace(const std::string& path) {
  if (path == "-") return fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  const int fd =
      open(path.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) throw OpenError(errno);
  struct stat st;
  if (fstat(fd, &st) != 0) {
    close(fd);
    throw errors::FileAccess();
  }
  // A name of the program's own standard output or error (/dev/stdout when
  // that is a file) shares its descriptor, so that the log and what the
  // program prints there do not overwrite each other.
  for (const int standard : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat standard_st;
    if (fstat(standard, &standard_st) == 0 && S_ISREG(st.st_mode) &&
        standard_st.st_dev == st.st_dev && standard_st.st_ino == st.st_ino) {
      close(fd);
      return fcntl(standard, F_DUPFD_CLOEXEC, 0);
    }
  }
  if (S_ISREG(st.st_mode)) {
    if (!MayReplaceFile(path, st)) {
      close(fd);
      throw errors::PermissionDenied();
    }
    if (ftruncate(fd, 0) != 0) {
      close(fd);
      throw errors::FileAccess();
    }
  }
  return fd;
}

}  // namespace

std::shared_ptr<LineFileTextStream> LineFileTextStream::Open(
    const std::string& system_path) {
  if (system_path.empty()) throw errors::PathNotFound();
  const int fd = OpenInPlace(system_path);
  if (fd < 0) throw errors::FileAccess();
  return std::shared_ptr<LineFileTextStream>(new LineFileTextStream(fd));
}

LineFileTextStream::~LineFileTextStream() {
  if (fd_ < 0) return;
  Send(pending_);
  close(fd_);
}

void LineFileTextStream::Write(std::string_view text) {
  if (fd_ < 0) return;
  const size_t line_end = text.rfind('\n');
  if (line_end == std::string_view::npos) {
    pending_.append(text);
    return;
  }
  pending_.append(text.substr(0, line_end + 1));
  Send(pending_);
  pending_.assign(text.substr(line_end + 1));
}

void LineFileTextStream::Send(std::string_view bytes) {
  while (!bytes.empty() && !failed_) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      break;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void LineFileTextStream::Close() {
  if (fd_ < 0) return;
  Send(pending_);
  pending_.clear();
  const bool closed = close(fd_) == 0;
  fd_ = -1;
  if (failed_ || !closed) throw errors::FileAccess();
}

}  // namespace mx
