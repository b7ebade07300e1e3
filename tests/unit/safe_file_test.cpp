#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "common/safe_file.h"
#include "tests/support/files.h"
#include "tests/support/private_mounts.h"

namespace {

// Writes content through a SettingsFileWriter; the writer's result.
int write_through(const std::string& dir, const char* name, const std::string& content) {
  SettingsFileWriter writer;
  if (writer.open(dir.c_str(), name) != 0) return -1;
  fputs(content.c_str(), writer.stream());
  return writer.commit();
}

TEST(SafeFile, NewTargetGetsItsDirectoriesAndDefaultMode) {
  TempDir tmp;
  mode_t old = umask(022);
  ASSERT_EQ(write_through(tmp / "a/b/", "f", "new\n"), 0);
  umask(old);
  EXPECT_EQ(read_file(tmp / "a/b/f"), "new\n");
  EXPECT_EQ(file_mode(tmp / "a/b/f"), 0644);
  EXPECT_EQ(file_mode(tmp / "a"), 0775);
  EXPECT_EQ(file_mode(tmp / "a/b"), 0775);
}

TEST(SafeFile, ReplacesExistingTargetWithMode0644AndNoTemporaryLeft) {
  TempDir tmp;
  write_file(tmp / "f", "old\n");
  chmod((tmp / "f").c_str(), 0600);
  ASSERT_EQ(write_through(tmp.path(), "f", "new\n"), 0);
  EXPECT_EQ(read_file(tmp / "f"), "new\n");
  EXPECT_EQ(file_mode(tmp / "f"), 0644);
  EXPECT_EQ(list_dir(tmp.path()), "f");
}

TEST(SafeFile, AbandonedWriteLeavesNothingBehind) {
  TempDir tmp;
  write_file(tmp / "old", "keep\n");
  {
    SettingsFileWriter writer;
    ASSERT_EQ(writer.open(tmp.path().c_str(), "old"), 0);
    fputs("half", writer.stream());
    SettingsFileWriter fresh;
    ASSERT_EQ(fresh.open(tmp.path().c_str(), "new"), 0);
    fputs("half", fresh.stream());
  }
  EXPECT_EQ(read_file(tmp / "old"), "keep\n");
  EXPECT_EQ(list_dir(tmp.path()), "old");
}

TEST(SafeFile, DoesNotFollowALinkPlantedAtANewTarget) {
  TempDir tmp;
  ASSERT_EQ(symlink((tmp / "victim").c_str(), (tmp / "f").c_str()), 0);
  EXPECT_EQ(write_through(tmp.path(), "f", "evil\n"), -1);
  EXPECT_FALSE(file_exists(tmp / "victim"));
}

TEST(SafeFile, ReplacesALinkInsteadOfWritingThroughIt) {
  TempDir tmp;
  write_file(tmp / "victim", "untouched\n");
  ASSERT_EQ(symlink((tmp / "victim").c_str(), (tmp / "f").c_str()), 0);
  ASSERT_EQ(write_through(tmp.path(), "f", "new\n"), 0);
  EXPECT_EQ(read_file(tmp / "victim"), "untouched\n");
  EXPECT_EQ(read_file(tmp / "f"), "new\n");
}

TEST(SafeFile, FailsWhenADirectoryCannotBeMade) {
  TempDir tmp;
  write_file(tmp / "file", "x");
  EXPECT_EQ(write_through(tmp / "file/sub/", "f", "x"), -1);
  EXPECT_EQ(write_through(std::string(5000, 'd') + "/", "f", "x"), -1);
}

// The faults below are real: a full tmpfs, a read-only mount and a target
// mounted over itself, each in a private mount namespace.
class SafeFileFaults : public testing::Test {
 protected:
  void SetUp() override {
    std::string why = private_mounts_unavailable();
    if (!why.empty()) GTEST_SKIP() << why;
  }
  TempDir tmp;
  std::string old_content = std::string(300, 'o') + "\n";
  std::string big = std::string(256 * 1024, 'n');
};

TEST_F(SafeFileFaults, FullDiskKeepsTheOldFile) {
  std::string dir = tmp / "fs";
  mkdir(dir.c_str(), 0755);
  int result = run_in_private_mounts([&] {
    if (!mount_tmpfs(dir, "64k")) return 10;
    write_file(dir + "/f", old_content);
    if (!fill_file_system(dir)) return 11;
    unlink((dir + "/filler").c_str());  // room for a small file, not for the big one
    if (write_through(dir + "/", "f", big) != -1) return 12;
    if (read_file(dir + "/f") != old_content) return 13;
    if (list_dir(dir) != "f") return 14;
    if (write_through(dir + "/", "g", big) != -1) return 15;  // a new target too
    if (list_dir(dir) != "f") return 16;
    return 0;
  });
  EXPECT_EQ(result, 0);
}

TEST_F(SafeFileFaults, ReadOnlyDirectoryKeepsTheOldFile) {
  write_file(tmp / "f", old_content);
  int result = run_in_private_mounts([&] {
    if (!make_read_only(tmp.path())) return 10;
    if (write_through(tmp.path(), "f", "new\n") != -1) return 11;
    if (write_through(tmp.path(), "g", "new\n") != -1) return 12;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(read_file(tmp / "f"), old_content);
  EXPECT_EQ(list_dir(tmp.path()), "f");
}

TEST_F(SafeFileFaults, FailingRenameKeepsTheOldFileAndRemovesTheTemporary) {
  write_file(tmp / "f", old_content);
  int result = run_in_private_mounts([&] {
    if (!pin_file(tmp / "f")) return 10;
    if (write_through(tmp.path(), "f", "new\n") != -1) return 11;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(read_file(tmp / "f"), old_content);
  EXPECT_EQ(list_dir(tmp.path()), "f");
}

}  // namespace
