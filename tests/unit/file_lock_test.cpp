#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "common/file_lock.h"
#include "common/safe_file.h"
#include "tests/support/files.h"

namespace {

int write_with(const std::string& dir, const std::string& content, FileError* error) {
  SaveOptions options;
  options.error = error;
  return write_settings_file(dir.c_str(), "f", content, options);
}

TEST(FileLock, ASecondWriterIsRefusedWhileTheFirstHoldsTheLock) {
  TempDir tmp;
  write_file(tmp / "f", "first\n");
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  fflush(nullptr);
  pid_t first = fork();
  if (first == 0) {
    FilePlace place;
    FileError error;
    FileLock lock;
    if (find_file_place(tmp / "f", kFollowLast, &place, &error) != 0 ||
        lock.take(place, &error) != 0)
      _exit(10);
    char c = 'r';
    if (write(ready[1], &c, 1) != 1 || read(done[0], &c, 1) != 1) _exit(11);
    lock.release();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  FileError error;
  EXPECT_EQ(write_with(tmp.path(), "second\n", &error), -1);
  EXPECT_EQ(error.refusal, FileRefusal::kLocked);
  EXPECT_EQ(error.path, tmp / "f");
  EXPECT_EQ(read_file(tmp / "f"), "first\n");
  EXPECT_EQ(list_dir(tmp.path()), "f f.lock");
  ASSERT_EQ(write(done[1], "d", 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(first, &status, 0), first);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(write_with(tmp.path(), "second\n", &error), 0);
  EXPECT_EQ(read_file(tmp / "f"), "second\n");
}

std::string record_line(const std::string& path, ino_t ino_offset = 0) {
  struct stat st;
  EXPECT_EQ(stat(path.c_str(), &st), 0);
  return std::to_string(st.st_dev) + " " + std::to_string(st.st_ino + ino_offset) + " " + path +
         "\n";
}

void write_lock(const std::string& path, const std::string& text) {
  write_file(path, text);
  chmod(path.c_str(), 0600);
}

// A run killed mid-save left its lock and a temporary file it recorded; the
// next start (or save) removes just that one, and never another program's.
TEST(FileLock, ALockWhoseProcessIsGoneIsTakenOverWithTheFilesItRecorded) {
  TempDir tmp;
  write_file(tmp / "f", "old\n");
  fflush(nullptr);
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  write_file(tmp / "tmpLeft01", "left by the killed run");
  write_file(tmp / "tmpOther1", "another program's, never recorded");
  write_file(tmp / "tmpReused", "recorded, but the name now holds another file");
  std::string dead = std::to_string(gone) + "\n" + record_line(tmp / "tmpLeft01") +
                     record_line(tmp / "tmpReused", 1);
  write_lock(tmp / "f.lock", dead);
  clear_stale_lock((tmp / "f").c_str());
  EXPECT_EQ(list_dir(tmp.path()), "f tmpOther1 tmpReused");

  write_lock(tmp / "f.lock", dead);
  FileError error;
  EXPECT_EQ(write_with(tmp.path(), "new\n", &error), 0);
  EXPECT_EQ(list_dir(tmp.path()), "f tmpOther1 tmpReused");

  // What is not a process id is some other program's lock, and never taken.
  write_lock(tmp / "f.lock", "held by someone\n");
  clear_stale_lock((tmp / "f").c_str());
  EXPECT_EQ(write_with(tmp.path(), "newer\n", &error), -1);
  EXPECT_EQ(error.refusal, FileRefusal::kLocked);
  EXPECT_EQ(read_file(tmp / "f.lock"), "held by someone\n");
  EXPECT_EQ(read_file(tmp / "f"), "new\n");
}

}  // namespace
