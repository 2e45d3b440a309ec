// The real file system behind Env and the file text stream: error numbers,
// Windows-1252 names, and whole-file writes that never leave a half-written
// or stray file behind.
#include "platform/env.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "movx20xmlgen/error.h"
#include "movx20xmlgen/text_stream.h"

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
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto saved_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int number = ErrorNumberOf(
      [&] { env_->WriteFile(Path("f"), std::string(9000, 'x')); });
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, saved_handler);
  EXPECT_EQ(number, errors::kFileAccess);
  EXPECT_EQ(Contents("f"), "earlier");
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

}  // namespace
}  // namespace mx
