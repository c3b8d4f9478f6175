#include <gtest/gtest.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/FileOperations.h"
#include "base/TextFile.h"

namespace tarvix {
namespace {

class FileOperationsTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  void make(const QString& name, const QByteArray& bytes) { ASSERT_TRUE(writeFileAtomic(path(name), bytes)); }
  QByteArray bytesOf(const QString& name) const { return readFileBytes(path(name)).value_or("<missing>"); }
  QTemporaryDir dir_;
};

TEST_F(FileOperationsTest, FileExistsForFilesAndFoldersOnly) {
  make("a.txt", "a");
  EXPECT_TRUE(FileExists(path("a.txt")));
  EXPECT_TRUE(FileExists(dir_.path()));
  EXPECT_FALSE(FileExists(path("missing")));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(FileOperationsTest, CopyReplacesTheTargetAndAFailedCopyKeepsIt) {
  make("src", "new contents");
  make("dst", "old");
  EXPECT_TRUE(CopyFile(path("src"), path("dst")));
  EXPECT_EQ(bytesOf("dst"), "new contents");
  EXPECT_TRUE(CopyFile(path("src"), path("src")));
  EXPECT_EQ(bytesOf("src"), "new contents");

  make("dst", "old");
  EXPECT_FALSE(CopyFile(path("missing"), path("dst")));
  EXPECT_FALSE(CopyFile(dir_.path(), path("dst")));
  EXPECT_FALSE(CopyFile(path("src"), path("no-folder/dst")));
  EXPECT_EQ(bytesOf("dst"), "old");
}

TEST_F(FileOperationsTest, RenameMovesFilesAndFoldersButNeverOverwrites) {
  make("a", "A");
  make("b", "B");
  EXPECT_EQ(RenameFile(path("a"), path("b")), EEXIST);
  EXPECT_EQ(bytesOf("a"), "A");
  EXPECT_EQ(bytesOf("b"), "B");

  EXPECT_EQ(RenameFile(path("a"), path("c")), 0);
  EXPECT_EQ(bytesOf("c"), "A");
  EXPECT_FALSE(QFile::exists(path("a")));
  EXPECT_EQ(RenameFile(path("a"), path("d")), ENOENT);

  ASSERT_TRUE(QDir(dir_.path()).mkpath("folder/inner"));
  EXPECT_EQ(RenameFile(path("folder"), path("moved")), 0);
  EXPECT_TRUE(QFileInfo(path("moved/inner")).isDir());
}

TEST_F(FileOperationsTest, DeleteRemovesFilesFoldersAndLinksButNotWhatALinkPointsTo) {
  make("file", "x");
  EXPECT_EQ(DeleteFile(path("file")), 0);
  EXPECT_FALSE(QFile::exists(path("file")));
  EXPECT_EQ(DeleteFile(path("file")), ENOENT);

  ASSERT_TRUE(QDir(dir_.path()).mkpath("tree/sub"));
  make("tree/sub/leaf", "x");
  ASSERT_TRUE(QFile::link(path("tree"), path("link")));
  EXPECT_EQ(DeleteFile(path("link")), 0);
  EXPECT_EQ(bytesOf("tree/sub/leaf"), "x");

  EXPECT_EQ(DeleteFile(path("tree")), 0);
  EXPECT_FALSE(QFile::exists(path("tree")));
}

}  // namespace
}  // namespace tarvix
