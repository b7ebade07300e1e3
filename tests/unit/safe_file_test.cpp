#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>

#include "common/safe_file.h"
#include "tests/support/files.h"
#include "tests/support/private_mounts.h"

namespace {

// Writes content through a SettingsFileWriter; the writer's result.
int write_through(const std::string& dir, const char* name, const std::string& content,
                  Backup backup = Backup::kNone) {
  SettingsFileWriter writer;
  if (writer.open(dir.c_str(), name, backup) != 0) return -1;
  fputs(content.c_str(), writer.stream());
  return writer.commit();
}

// list_dir with each temporary file's name shown as "tmp*".
std::string listing(const std::string& dir) {
  std::string names = list_dir(dir) + " ";
  for (size_t at = names.find("tmp"); at != std::string::npos; at = names.find("tmp", at + 4))
    names.replace(at, names.find(' ', at) - at, "tmp*");
  names.pop_back();
  return names;
}

std::string link_text(const std::string& path) {
  char text[256];
  ssize_t n = readlink(path.c_str(), text, sizeof text);
  return n < 0 ? "" : std::string(text, static_cast<size_t>(n));
}

TEST(SafeFile, NewTargetIsWrittenThroughATemporaryFileAfterItsDirectories) {
  TempDir tmp;
  mode_t old = umask(077);
  SettingsFileWriter writer;
  ASSERT_EQ(writer.open((tmp / "a/b/").c_str(), "f"), 0);
  umask(old);
  fputs("new\n", writer.stream());
  EXPECT_EQ(listing(tmp / "a/b"), "tmp*");
  EXPECT_EQ(file_mode(tmp / "a"), 0775);
  EXPECT_EQ(file_mode(tmp / "a/b"), 0775);
  FileStamp written;
  ASSERT_EQ(writer.commit(&written), 0);
  EXPECT_EQ(read_file(tmp / "a/b/f"), "new\n");
  EXPECT_EQ(file_mode(tmp / "a/b/f"), 0644);
  EXPECT_EQ(list_dir(tmp / "a/b"), "f");
  EXPECT_TRUE(written.exists);
  EXPECT_EQ(written, stamp_file((tmp / "a/b/f").c_str()));
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
  EXPECT_EQ(list_dir(tmp.path()), "f");
}

TEST(SafeFile, ReplacesTheFileAtTheEndOfALinkChainAndKeepsTheLinks) {
  TempDir tmp;
  mkdir((tmp / "real").c_str(), 0755);
  mkdir((tmp / "etc").c_str(), 0755);
  write_file(tmp / "real/f", "old\n");
  ASSERT_EQ(symlink("../real/f", (tmp / "etc/second").c_str()), 0);
  ASSERT_EQ(symlink((tmp / "etc/second").c_str(), (tmp / "etc/f").c_str()), 0);
  SettingsFileWriter writer;
  ASSERT_EQ(writer.open((tmp / "etc/").c_str(), "f", Backup::kKeepPrevious), 0);
  fputs("new\n", writer.stream());
  EXPECT_EQ(listing(tmp / "real"), "f tmp*");
  ASSERT_EQ(writer.commit(), 0);
  EXPECT_EQ(read_file(tmp / "real/f"), "new\n");
  EXPECT_EQ(read_file(tmp / "real/f-"), "old\n");
  EXPECT_EQ(link_text(tmp / "etc/f"), tmp / "etc/second");
  EXPECT_EQ(link_text(tmp / "etc/second"), "../real/f");
  EXPECT_EQ(list_dir(tmp / "etc"), "f second");
}

TEST(SafeFile, KeepsThePreviousVersionWithItsModeOnlyWhenAsked) {
  TempDir tmp;
  write_file(tmp / "f", "first\n");
  chmod((tmp / "f").c_str(), 0600);
  ASSERT_EQ(write_through(tmp.path(), "f", "second\n"), 0);
  EXPECT_EQ(list_dir(tmp.path()), "f");
  chmod((tmp / "f").c_str(), 0640);
  ASSERT_EQ(write_through(tmp.path(), "f", "third\n", Backup::kKeepPrevious), 0);
  EXPECT_EQ(read_file(tmp / "f-"), "second\n");
  EXPECT_EQ(file_mode(tmp / "f-"), 0640);
  ASSERT_EQ(write_through(tmp.path(), "f", "fourth\n", Backup::kKeepPrevious), 0);
  EXPECT_EQ(read_file(tmp / "f"), "fourth\n");
  EXPECT_EQ(read_file(tmp / "f-"), "third\n");
  EXPECT_EQ(file_mode(tmp / "f-"), 0644);
  EXPECT_EQ(list_dir(tmp.path()), "f f-");
}

// A child writing a new target ends by a signal, or by exit(), half-way.
TEST(SafeFile, TemporaryFilesGoWhenTheProgramIsEndedMidSave) {
  TempDir tmp;
  for (int signal_number : {SIGTERM, 0}) {
    fflush(nullptr);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      install_temp_file_cleanup();
      SettingsFileWriter writer;
      if (writer.open(tmp.path().c_str(), "f") != 0) _exit(10);
      fputs("half", writer.stream());
      if (listing(tmp.path()) != "tmp*") _exit(11);
      if (signal_number != 0) raise(signal_number);
      exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    if (signal_number != 0) {
      ASSERT_TRUE(WIFSIGNALED(status)) << signal_number << " " << status;
      EXPECT_EQ(WTERMSIG(status), signal_number);
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(list_dir(tmp.path()), "") << signal_number;
  }
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

TEST_F(SafeFileFaults, ABackupThatDoesNotFitKeepsTheOldFile) {
  std::string dir = tmp / "fs";
  mkdir(dir.c_str(), 0755);
  int result = run_in_private_mounts([&] {
    if (!mount_tmpfs(dir, "64k")) return 10;
    write_file(dir + "/f", old_content);
    SettingsFileWriter writer;
    if (writer.open((dir + "/").c_str(), "f", Backup::kKeepPrevious) != 0) return 11;
    fputs("new\n", writer.stream());
    fflush(writer.stream());  // the new file has its room; the copy of the old one will not
    if (!fill_file_system(dir)) return 12;
    if (writer.commit() != -1) return 13;
    if (read_file(dir + "/f") != old_content) return 14;
    if (list_dir(dir) != "f filler") return 15;
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
