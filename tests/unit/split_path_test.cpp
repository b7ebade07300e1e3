#include <gtest/gtest.h>

#include <string>

#include "filepages/split_path.h"

namespace {

struct Split {
  int result;
  std::string dir;
  std::string name;
};

Split split(const std::string& path, size_t dir_size = 4096, size_t name_size = 4096) {
  std::string dir(dir_size, 'D'), name(name_size, 'N');
  int result = split_path(path.c_str(), dir.data(), dir_size, name.data(), name_size);
  return {result, dir.c_str(), name.c_str()};
}

TEST(SplitPath, TheDirectoryKeepsItsSlash) {
  Split s = split("/etc/tolq8/tolqhosts");
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.dir, "/etc/tolq8/");
  EXPECT_EQ(s.name, "tolqhosts");
  s = split("/convdrc");
  EXPECT_EQ(s.dir, "/");
  EXPECT_EQ(s.name, "convdrc");
}

TEST(SplitPath, APathEndingWithASlashHasAnEmptyName) {
  Split s = split("/tmp/new dir/");
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.dir, "/tmp/new dir/");
  EXPECT_EQ(s.name, "");
}

TEST(SplitPath, EmptyPathsAndPathsWithoutASlashFail) {
  EXPECT_EQ(split("").result, -1);
  EXPECT_EQ(split("convdrc").result, -1);
  EXPECT_EQ(split_path(nullptr, nullptr, 0, nullptr, 0), -1);
}

TEST(SplitPath, PartsAreCutToTheirBuffers) {
  Split s = split("/a/" + std::string(20, 'n'), 64, 6);
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.dir, "/a/");
  EXPECT_EQ(s.name, "nnnnn");
}

}  // namespace
