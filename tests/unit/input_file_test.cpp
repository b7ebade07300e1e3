#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "common/input_file.h"
#include "tests/support/files.h"

namespace {

TEST(InputFile, OpensRegularFilesOnlyAndNeverWaits) {
  TempDir tmp;
  ASSERT_EQ(mkfifo((tmp / "fifo").c_str(), 0600), 0);  // no writer: a plain open would wait
  EXPECT_EQ(open_input_file((tmp / "fifo").c_str()), nullptr);
  EXPECT_EQ(open_input_file(tmp.path().c_str()), nullptr);
  EXPECT_EQ(open_input_file("/dev/zero"), nullptr);
  EXPECT_EQ(open_input_file((tmp / "missing").c_str()), nullptr);

  write_file(tmp / "f", "text\n");
  FileStamp stamp;
  InputFile file = open_input_file((tmp / "f").c_str(), &stamp);
  ASSERT_NE(file, nullptr);
  char line[16] = {};
  ASSERT_NE(fgets(line, sizeof line, file.get()), nullptr);
  EXPECT_STREQ(line, "text\n");
  EXPECT_TRUE(stamp.exists);
  EXPECT_EQ(stamp.size, 5);
  EXPECT_EQ(stamp, stamp_file((tmp / "f").c_str()));
}

TEST(InputFile, StampsTellVersionsApart) {
  TempDir tmp;
  FileStamp missing = stamp_file((tmp / "f").c_str());
  EXPECT_FALSE(missing.exists);
  EXPECT_EQ(missing, FileStamp{});
  write_file(tmp / "f", "one\n");
  FileStamp first = stamp_file((tmp / "f").c_str());
  EXPECT_NE(first, missing);
  write_file(tmp / "f", "two\n");  // same size and inode; the time differs
  struct timespec times[2] = {{0, UTIME_OMIT}, {first.mtime_sec + 1, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (tmp / "f").c_str(), times, 0), 0);
  EXPECT_NE(stamp_file((tmp / "f").c_str()), first);
}

}  // namespace
