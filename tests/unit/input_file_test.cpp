#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The stamp is of the bytes: a rewrite of the same size whose time is set back is seen.
TEST(InputFile, StampsSeeEveryChangeOfTheBytes) {
  TempDir tmp;
  std::string f = tmp / "f";
  FileStamp missing = stamp_file(f.c_str());
  EXPECT_FALSE(missing.exists);
  EXPECT_EQ(missing, FileStamp{});
  write_file(f, "one\n");
  FileStamp first = stamp_file(f.c_str());
  EXPECT_NE(first, missing);
  struct stat st;
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  write_file(f, "two\n");
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
  EXPECT_NE(stamp_file(f.c_str()), first);
  write_file(f, "one\n");
  EXPECT_EQ(stamp_file(f.c_str()), first);
}

TEST(InputFile, ReadsASettingsFileWholeWithItsStampAndRefusesAHugeOneUnread) {
  TempDir tmp;
  write_file(tmp / "f", "text\n");
  std::string bytes = "kept";
  FileStamp stamp;
  ASSERT_EQ(read_settings_file((tmp / "f").c_str(), &bytes, &stamp), 0);
  EXPECT_EQ(bytes, "text\n");
  EXPECT_EQ(stamp, stamp_file((tmp / "f").c_str()));
  EXPECT_EQ(stamp.digest, digest_of("text\n"));

  // Sparse: its size is all there is to it.
  ASSERT_EQ(truncate((tmp / "f").c_str(), kMaxSettingsFileSize + 1), 0);
  FileError error;
  EXPECT_EQ(read_settings_file((tmp / "f").c_str(), &bytes, nullptr, &error), -1);
  EXPECT_EQ(bytes, "text\n");
  EXPECT_EQ(error.refusal, FileRefusal::kTooLarge);
  EXPECT_EQ(error.path, tmp / "f");
  EXPECT_EQ(settings_file_refusal((tmp / "f").c_str()).refusal, FileRefusal::kTooLarge);
  EXPECT_EQ(settings_file_refusal((tmp / "missing").c_str()).refusal, FileRefusal::kNone);
}

}  // namespace
