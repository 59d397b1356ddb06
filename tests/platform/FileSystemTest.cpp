#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TempDir.h"

namespace qx::platform {
namespace {

TEST(FileSystem, AtomicWriteReplacesContentsAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const std::string path = dir.File("settings.cam");
  ASSERT_TRUE(WriteFileAtomically(path, "old\n"));
  ASSERT_TRUE(WriteFileAtomically(path, "new\n"));
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, text));
  EXPECT_EQ(text, "new\n");
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(FileSystem, FailedAtomicWriteKeepsThePreviousFile) {
  test::TempDir dir;
  const std::string path = dir.File("missing-folder/settings.cam");
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(path, "data", &error));
  EXPECT_FALSE(error.empty());

  // A target that is a folder cannot be replaced; the folder must survive untouched.
  const std::string folder = dir.File("target");
  ASSERT_TRUE(MakeFolders(folder + "/inside"));
  EXPECT_FALSE(WriteFileAtomically(folder, "data"));
  EXPECT_TRUE(std::filesystem::is_directory(folder + "/inside"));
}

TEST(FileSystem, FolderOfCutsAtTheLastSlash) {
  EXPECT_EQ(FolderOf("/a/b/c.cam"), "/a/b");
  EXPECT_EQ(FolderOf("/c.cam"), "/");
  EXPECT_EQ(FolderOf("c.cam"), "");
}

}  // namespace
}  // namespace qx::platform
