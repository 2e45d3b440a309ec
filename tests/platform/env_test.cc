// The real file system behind Env and the file text stream: error numbers,
// Windows-1252 names, and whole-file writes that never leave a half-written
// or stray file behind.
#include "platform/env.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "movx20xmlgen/error.h"
#include "movx20xmlgen/text_stream.h"
#include "platform/system_path.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

int ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

// The error number of writing 9,000 bytes to `path` while the process may
// write files of 4,096 bytes at most: the write fails halfway.
int ErrorNumberOfWriteOverSizeLimit(Env& env, const std::string& path) {
  rlimit saved;
  if (getrlimit(RLIMIT_FSIZE, &saved) != 0) return -1;
  const auto saved_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  int number = -1;
  if (setrlimit(RLIMIT_FSIZE, &small) == 0) {
    number =
        ErrorNumberOf([&] { env.WriteFile(path, std::string(9000, 'x')); });
    setrlimit(RLIMIT_FSIZE, &saved);
  }
  signal(SIGXFSZ, saved_handler);
  return number;
}

class EnvTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("mx_env_test_" + std::to_string(getpid()) + "_" +
             testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directory(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Path(const std::string& name) const {
    return JoinPath(root_.string() + "/", name);
  }
  std::string Contents(const std::string& name) const {
    std::ifstream in(root_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  size_t EntryCount() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(root_), fs::directory_iterator()));
  }

  Env* env_ = Env::Default();
  fs::path root_;
};

TEST_F(EnvTest, CreateFolderCreatesOneLevel) {
  EXPECT_EQ(JoinPath("a", "b"), JoinPath("a/", "b"));
  env_->CreateFolder(Path("a"));
  EXPECT_TRUE(env_->FolderExists(Path("a/")));
  EXPECT_EQ(ErrorNumberOf([&] { env_->CreateFolder(Path("x/y")); }),
            errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { env_->CreateFolder(""); }),
            errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { env_->CreateFolder(Path("a")); }), 58);
  EXPECT_FALSE(env_->FileExists(Path("a")));
}

TEST_F(EnvTest, NamesAreWindows1252OnTheWayInAndUtf8OnDisk) {
  env_->CreateFolder(Path("caf\xE9"));
  env_->WriteFile(Path("caf\xE9/\x80.txt"), "x");
  EXPECT_TRUE(fs::is_regular_file(root_ / "caf\u00E9" / "\u20AC.txt"));
  EXPECT_TRUE(env_->FileExists(Path("caf\xE9/\x80.txt")));
}

TEST_F(EnvTest, DeleteFolderRemovesReadOnlyContents) {
  fs::create_directories(root_ / "d/sub");
  env_->WriteFile(Path("d/sub/f"), "x");
  fs::permissions(root_ / "d/sub/f", fs::perms::owner_read);
  fs::permissions(root_ / "d/sub",
                  fs::perms::owner_read | fs::perms::owner_exec);
  env_->DeleteFolder(Path("d"));
  EXPECT_FALSE(fs::exists(root_ / "d"));
  EXPECT_EQ(ErrorNumberOf([&] { env_->DeleteFolder(Path("d")); }),
            errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { env_->DeleteFolder(""); }),
            errors::kPathNotFound);
}

TEST_F(EnvTest, WriteFileReplacesWholeAndReadsBack) {
  const std::string bytes("a\r\nb\0c\xFF", 7);
  env_->WriteFile(Path("f.xml"), "old text");
  env_->WriteFile(Path("f.xml"), bytes);
  EXPECT_EQ(Contents("f.xml"), bytes);
  EXPECT_EQ(env_->ReadFile(Path("f.xml")), bytes);
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(EnvTest, MissingFolderIs76AndMissingFileIs53) {
  EXPECT_EQ(ErrorNumberOf([&] { env_->WriteFile(Path("no/f"), "x"); }),
            errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { env_->WriteFile("", "x"); }),
            errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { env_->ReadFile(Path("no/f")); }),
            errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { env_->ReadFile(Path("f")); }), 53);
  EXPECT_EQ(ErrorNumberOf([&] { env_->DeleteFile(Path("f")); }), 53);
}

TEST_F(EnvTest, FailedWriteLeavesNoTraceAndIs75) {
  fs::create_directory(root_ / "dir");
  EXPECT_EQ(ErrorNumberOf([&] { env_->WriteFile(Path("dir"), "x"); }),
            errors::kFileAccess);
  EXPECT_TRUE(fs::is_directory(root_ / "dir"));
  EXPECT_EQ(EntryCount(), 1u);
}

// A write that fails halfway (here: past the file-size limit) keeps the
// earlier file as it was.
TEST_F(EnvTest, FailedWriteKeepsTheEarlierFile) {
  env_->WriteFile(Path("f"), "earlier");
  const int number = ErrorNumberOfWriteOverSizeLimit(*env_, Path("f"));
  EXPECT_EQ(number, errors::kFileAccess);
  EXPECT_EQ(Contents("f"), "earlier");
  EXPECT_EQ(EntryCount(), 1u);
}

// A file that carries a password is 0600 whatever the umask, also when it
// replaces a file that others could read.
TEST_F(EnvTest, OwnerOnlyFileIsModeSixHundred) {
  env_->WriteFile(Path("secret.txt"), "earlier");
  fs::permissions(root_ / "secret.txt", fs::perms::all);
  for (const mode_t mask : {mode_t{0}, mode_t{0277}}) {
    const mode_t saved = umask(mask);
    env_->WriteOwnerOnlyFile(Path("secret.txt"), "pw");
    umask(saved);
    struct stat st;
    ASSERT_EQ(stat((root_ / "secret.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u) << "umask " << mask;
  }
  EXPECT_EQ(Contents("secret.txt"), "pw");
  EXPECT_EQ(EntryCount(), 1u);
}

// A new file gets its name only when it is whole and has its mode; a new
// file that fails halfway leaves no name behind.
TEST_F(EnvTest, NewFileAppearsOnlyWhole) {
  const mode_t saved_mask = umask(0277);
  env_->WriteOwnerOnlyFile(Path("new.txt"), "pw");
  umask(saved_mask);
  struct stat st;
  ASSERT_EQ(stat((root_ / "new.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(Contents("new.txt"), "pw");

  const int number = ErrorNumberOfWriteOverSizeLimit(*env_, Path("big"));
  EXPECT_EQ(number, errors::kFileAccess);
  EXPECT_FALSE(fs::exists(root_ / "big"));
  EXPECT_EQ(EntryCount(), 1u);
}

// A symbolic link that leads nowhere is replaced by the file, as an earlier
// file is; the place it names stays empty.
TEST_F(EnvTest, DanglingLinkIsReplacedNotFollowed) {
  fs::create_symlink(root_ / "nowhere", root_ / "link.xml");
  env_->WriteFile(Path("link.xml"), "text");
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(root_ / "link.xml")));
  EXPECT_EQ(Contents("link.xml"), "text");
  EXPECT_FALSE(fs::exists(root_ / "nowhere"));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(EnvTest, FileTextStreamWritesOnCloseWithCrLf) {
  FileTextStream stream(env_, Path("log.txt"));
  stream.WriteLine("one");
  stream.WriteBlankLines(2);
  stream.Write("two");
  EXPECT_FALSE(fs::exists(root_ / "log.txt"));
  stream.Close();
  EXPECT_EQ(Contents("log.txt"), "one\r\n\r\n\r\ntwo");
  {
    FileTextStream unclosed(env_, Path("kept.txt"));
    unclosed.WriteLine("x");
    FileTextStream failing(env_, Path("no/lost.txt"));
    failing.Write("x");
  }
  EXPECT_EQ(Contents("kept.txt"), "x\r\n");
  FileTextStream failing(env_, Path("no/lost.txt"));
  EXPECT_EQ(ErrorNumberOf([&] { failing.Close(); }), errors::kPathNotFound);
}

// A file without any write permission is read-only to everyone, the
// superuser included: it is refused, and stays as it was.
TEST_F(EnvTest, ReadOnlyFileIsNotReplacedAndIs70) {
  env_->WriteFile(Path("f.xml"), "kept");
  fs::permissions(root_ / "f.xml", fs::perms::owner_read);
  EXPECT_EQ(ErrorNumberOf([&] { env_->WriteFile(Path("f.xml"), "new"); }),
            errors::kPermissionDenied);
  EXPECT_EQ(Contents("f.xml"), "kept");
  EXPECT_EQ(fs::status(root_ / "f.xml").permissions(), fs::perms::owner_read);
}

// The process id of a process that has ended.
pid_t EndedProcess() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

TEST_F(EnvTest, WriteRemovesOnlyTheTempFilesOfEndedWriters) {
  const std::string dead = std::to_string(EndedProcess());
  const std::string live = std::to_string(getppid());
  for (const std::string& name :
       {".x.XML.tmp" + dead + "-0-17", ".x.XML.tmp" + live + "-0-17",
        "notes.tmp" + dead + "-0-17", ".x.XML.tmp" + dead + "-a-17"}) {
    std::ofstream(root_ / name) << "left";
  }
  env_->WriteFile(Path("x.XML"), "doc");
  EXPECT_FALSE(fs::exists(root_ / (".x.XML.tmp" + dead + "-0-17")));
  EXPECT_TRUE(fs::exists(root_ / (".x.XML.tmp" + live + "-0-17")));
  EXPECT_TRUE(fs::exists(root_ / ("notes.tmp" + dead + "-0-17")));
  EXPECT_TRUE(fs::exists(root_ / (".x.XML.tmp" + dead + "-a-17")));
  EXPECT_EQ(EntryCount(), 4u);
}

TEST_F(EnvTest, RegisteredPathKeepsItsBytesAndTheRestConverts) {
  const std::string folder = root_.string() + "/out_\u4E2D";
  ASSERT_EQ(ComponentPathFor(root_.string() + "/caf\u00E9"),
            root_.string() + "/caf\xE9");
  const std::string stand_in = *ComponentPathFor(folder);
  fs::create_directory(folder);
  env_->CreateFolder(stand_in + "/caf\xE9");
  env_->WriteFile(stand_in + "/caf\xE9/\x80.XML", "x");
  EXPECT_TRUE(fs::is_regular_file(fs::path(folder) / "caf\u00E9/\u20AC.XML"));
  EXPECT_FALSE(ComponentPathFor("\xFF"));
}

class LineFileTest : public EnvTest {
 protected:
  std::string SystemPath(const std::string& name) const {
    return (root_ / name).string();
  }
};

TEST_F(LineFileTest, EachLineReachesTheFileWhenItEnds) {
  auto log = LineFileTextStream::Open(SystemPath("run.log"));
  log->Write("first");
  EXPECT_EQ(Contents("run.log"), "");
  log->WriteLine(" line");
  EXPECT_EQ(Contents("run.log"), "first line\r\n");
  log->Write("a\r\nb");
  EXPECT_EQ(Contents("run.log"), "first line\r\na\r\n");
  log->Close();
  EXPECT_EQ(Contents("run.log"), "first line\r\na\r\nb");
}

TEST_F(LineFileTest, AnEarlierLogIsEmptiedInPlaceAndALinkStaysALink) {
  std::ofstream(root_ / "target.log") << "an older and longer log";
  fs::create_symlink(root_ / "target.log", root_ / "link.log");
  auto log = LineFileTextStream::Open(SystemPath("link.log"));
  log->WriteLine("new");
  log->Close();
  EXPECT_TRUE(fs::is_symlink(root_ / "link.log"));
  EXPECT_EQ(Contents("target.log"), "new\r\n");
}

TEST_F(LineFileTest, AFifoIsWrittenInPlace) {
  ASSERT_EQ(mkfifo((root_ / "fifo").c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] {
    std::ifstream in(root_ / "fifo", std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), {});
  });
  auto log = LineFileTextStream::Open(SystemPath("fifo"));
  log->WriteLine("through");
  log->Close();
  reader.join();
  EXPECT_EQ(received, "through\r\n");
  EXPECT_EQ(fs::status(root_ / "fifo").type(), fs::file_type::fifo);
}

TEST_F(LineFileTest, RefusalsLeaveTheFileAlone) {
  std::ofstream(root_ / "ro.log") << "kept";
  fs::permissions(root_ / "ro.log", fs::perms::owner_read);
  EXPECT_EQ(
      ErrorNumberOf([&] { LineFileTextStream::Open(SystemPath("ro.log")); }),
      errors::kPermissionDenied);
  EXPECT_EQ(Contents("ro.log"), "kept");
  EXPECT_EQ(
      ErrorNumberOf([&] { LineFileTextStream::Open(SystemPath("no/x.log")); }),
      errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { LineFileTextStream::Open(root_.string()); }),
            errors::kFileAccess);
}

}  // namespace
}  // namespace mx
