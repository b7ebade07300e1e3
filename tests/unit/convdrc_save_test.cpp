#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "common/text.h"
#include "serverrc/convdrc_file.h"
#include "tests/support/files.h"

namespace {

const std::string kHeader = ";;\n;; convdrc : created by cfgmate \n;;\n";
const std::string kDefaultBody = "convd_dir\t\t@VARDIR/dic\nmax_sticky_env\t\t10\nautosave\t\t0\n";

// Saves settings to dir + "convdrc", carrying over the file at source as read now.
int save(const std::string& dir, const std::string& source, const ConvdSettings& settings = {}) {
  std::unique_ptr<ConvdrcSource> read;
  if (!source.empty() && load_convdrc_file(source.c_str(), &read) != 0) return -2;
  return save_convdrc_file(dir.c_str(), "convdrc", read.get(), settings);
}

TEST(ConvdrcSave, ReplacesTheFileReadKeepingItsMode) {
  TempDir tmp;
  write_file(tmp / "convdrc", "; kept\nautosave 3\n");
  chmod((tmp / "convdrc").c_str(), 0600);
  ConvdSettings settings;
  settings.autosave = "4";
  ASSERT_EQ(save(tmp.path(), tmp / "convdrc", settings), 0);
  EXPECT_EQ(read_file(tmp / "convdrc"),
            kHeader + "; kept\nautosave\t\t4\nconvd_dir\t\t@VARDIR/dic\nmax_sticky_env\t\t10\n");
  EXPECT_EQ(file_mode(tmp / "convdrc"), 0600);
  EXPECT_EQ(list_dir(tmp.path()), "convdrc");
}

TEST(ConvdrcSave, NewFileGetsMissingDirectoriesAndMode0644) {
  TempDir tmp;
  mode_t old = umask(077);
  int result = save(tmp / "etc/ja_JP/", "");
  umask(old);
  ASSERT_EQ(result, 0);
  EXPECT_EQ(read_file(tmp / "etc/ja_JP/convdrc"), kHeader + kDefaultBody);
  EXPECT_EQ(file_mode(tmp / "etc/ja_JP/convdrc"), 0644);
  EXPECT_EQ(file_mode(tmp / "etc"), 0775);
  EXPECT_EQ(file_mode(tmp / "etc/ja_JP"), 0775);
}

TEST(ConvdrcSave, CarriesOverTheSourceNotTheDestination) {
  TempDir tmp;
  write_file(tmp / "src", "; from the source\n");
  write_file(tmp / "convdrc", "; from the old destination\n");
  ASSERT_EQ(save(tmp.path(), tmp / "src"), 0);
  EXPECT_EQ(read_file(tmp / "convdrc"), kHeader + "; from the source\n" + kDefaultBody);
  EXPECT_EQ(read_file(tmp / "src"), "; from the source\n");
}

// What was read is carried over: the file is not opened again, whatever it
// has become since.
TEST(ConvdrcSave, CarriesOverTheBytesReadNotTheFileAsItIsNow) {
  TempDir tmp;
  write_file(tmp / "src", "; as read\nautosave 3\n");
  std::unique_ptr<ConvdrcSource> read;
  ASSERT_EQ(load_convdrc_file((tmp / "src").c_str(), &read), 0);
  write_file(tmp / "src", "; swapped\n");
  ASSERT_EQ(save_convdrc_file(tmp.path().c_str(), "convdrc", read.get(), read->settings()), 0);
  unlink((tmp / "src").c_str());
  ASSERT_EQ(save_convdrc_file(tmp.path().c_str(), "again", read.get(), read->settings()), 0);
  std::string expected = kHeader +
                         "; as read\nautosave 3\nconvd_dir\t\t@VARDIR/dic\n"
                         "max_sticky_env\t\t10\n";
  EXPECT_EQ(read_file(tmp / "convdrc"), expected);
  EXPECT_EQ(read_file(tmp / "again"), expected);
}

TEST(ConvdrcSave, FailsWithoutTouchingAnything) {
  TempDir tmp;
  write_file(tmp / "file", "x");
  EXPECT_EQ(save(tmp / "file/sub/", ""), -1);
  EXPECT_EQ(save(tmp / std::string(kPathSize, 'd') + "/", ""), -1);
  // The destination is a directory: the rename fails and the temporary file goes.
  mkdir((tmp / "d").c_str(), 0755);
  mkdir((tmp / "d/convdrc").c_str(), 0755);
  EXPECT_EQ(save(tmp / "d/", ""), -1);
  EXPECT_EQ(list_dir(tmp / "d"), "convdrc");
  EXPECT_EQ(list_dir(tmp.path()), "d file");
}

}  // namespace
