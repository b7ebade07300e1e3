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

// The first writer holds the lock; the second writes nothing until it is released.
TEST(FileLock, ASecondWriterIsRefusedWhileTheFirstHoldsTheLock) {
  TempDir tmp;
  write_file(tmp / "f", "first\n");
  FilePlace place;
  FileError error;
  FileLock first;
  ASSERT_EQ(find_file_place(tmp / "f", kFollowLast, &place, &error), 0);
  ASSERT_EQ(first.take(place, &error), 0);
  EXPECT_EQ(write_with(tmp.path(), "second\n", &error), -1);
  EXPECT_EQ(error.refusal, FileRefusal::kLocked);
  EXPECT_EQ(error.path, tmp / "f");
  EXPECT_EQ(read_file(tmp / "f"), "first\n");
  EXPECT_EQ(list_dir(tmp.path()), "f f.lock");
  first.release();
  EXPECT_EQ(write_with(tmp.path(), "second\n", &error), 0);
  EXPECT_EQ(list_dir(tmp.path()), "f");
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
