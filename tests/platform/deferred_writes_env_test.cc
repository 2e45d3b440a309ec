// The writes a builder makes ahead of its turn: kept, then written in order
// through the real file system, as the builder would have written them.
#include "platform/deferred_writes_env.h"

#include <sys/stat.h>

#include "gtest/gtest.h"
#include "testing/faulty_env.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

using testing::FileFault;
using testing::FileOperation;

// What a document writer does: the folder when missing, then the file.
void WriteDocumentLike(Env& env, const std::string& folder,
                       const std::string& file, const std::string& bytes) {
  if (!env.FolderExists(folder)) env.CreateFolder(folder);
  env.WriteFile(JoinPath(folder, file), bytes);
}

TEST(DeferredWritesEnvTest, NothingIsWrittenUntilReplayedThenAllInOrder) {
  testing::TempDir tmp;
  const std::string folder = JoinPath(tmp.path().string(), "abcde");
  DeferredWritesEnv deferred;
  WriteDocumentLike(deferred, folder, "xabcde0010.XML", "<A/>");
  deferred.WriteOwnerOnlyFile(JoinPath(folder, "secret"), "pw");
  EXPECT_FALSE(Env::Default()->FolderExists(folder));

  testing::FaultyEnv real;
  deferred.Replay(real);
  ASSERT_EQ(real.operations().size(), 3u);
  EXPECT_EQ(real.operations()[0].kind, FileOperation::kCreateFolder);
  EXPECT_EQ(real.operations()[1].path, JoinPath(folder, "xabcde0010.XML"));
  EXPECT_EQ(real.ReadFile(JoinPath(folder, "xabcde0010.XML")), "<A/>");
  struct stat st {};
  ASSERT_EQ(stat(JoinPath(folder, "secret").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // A folder that exists at the turn (made by an earlier document) is not
  // made again, as the writer would have seen it there.
  DeferredWritesEnv second;
  WriteDocumentLike(second, folder, "xabcde0020.XML", "<B/>");
  testing::FaultyEnv again;
  second.Replay(again);
  ASSERT_EQ(again.operations().size(), 1u);
  EXPECT_EQ(again.operations()[0].kind, FileOperation::kWrite);
  EXPECT_FALSE(deferred.Refused() || second.Refused());
}

TEST(DeferredWritesEnvTest, AFailedWriteRaisesTheRealErrorAndStopsThere) {
  testing::TempDir tmp;
  const std::string folder = JoinPath(tmp.path().string(), "abcde");
  DeferredWritesEnv deferred;
  WriteDocumentLike(deferred, folder, "x1", "1");
  deferred.WriteFile(JoinPath(folder, "x2"), "2");
  testing::FaultyEnv real;
  real.FailAt(2, FileFault::kRename);
  EXPECT_THROW(deferred.Replay(real), VbError);
  EXPECT_EQ(real.operations().size(), 2u);
  EXPECT_FALSE(real.FileExists(JoinPath(folder, "x1")));
  EXPECT_FALSE(real.FileExists(JoinPath(folder, "x2")));
}

TEST(DeferredWritesEnvTest, ReadingOrDeletingNowIsRefused) {
  DeferredWritesEnv deferred;
  EXPECT_THROW(deferred.ReadFile("/etc/hostname"), VbError);
  EXPECT_TRUE(deferred.Refused());
  DeferredWritesEnv other;
  EXPECT_THROW(other.DeleteFile("/nonexistent"), VbError);
  EXPECT_TRUE(other.Refused());
}

}  // namespace
}  // namespace mx
