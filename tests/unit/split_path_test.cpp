#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "common/places.h"
#include "common/split_path.h"

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

// The full path of a typed one, or the fault's number in brackets.
std::string full(const std::string& typed, const Places& places = {}) {
  std::string path = "unset";
  PagePathFault fault = full_page_path(places, typed, &path);
  return fault == PagePathFault::kNone ? path : "[" + std::to_string(static_cast<int>(fault)) + "]";
}

const std::string kEmpty = "[1]", kEdgeBlank = "[2]", kUnresolved = "[3]", kTooLong = "[4]";

TEST(FullPagePath, TildeStandsForTheHomeDirectory) {
  Places places;
  copy_bounded(places.home_dir, "/home/root/");
  EXPECT_EQ(full("~", places), "/home/root");
  EXPECT_EQ(full("~/", places), "/home/root/");
  EXPECT_EQ(full("~/a/tolqhosts", places), "/home/root/a/tolqhosts");
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(full("~root/x", places), std::string(cwd) + "/~root/x");
  EXPECT_EQ(full("/abs/~/x", places), "/abs/~/x");
  copy_bounded(places.home_dir, "/");
  EXPECT_EQ(full("~", places), "/");
  EXPECT_EQ(full("~/x", places), "/x");
  places.home_dir[0] = '\0';
  EXPECT_EQ(full("~/x", places), kUnresolved);
}

TEST(FullPagePath, ABlankAtEitherEndIsRefused) {
  for (const char* typed : {" /x", "/x ", "\t/x", "/x\t", " ", "~/x "})
    EXPECT_EQ(full(typed), kEdgeBlank) << '"' << typed << '"';
  EXPECT_EQ(full("/my dir/x"), "/my dir/x");
  EXPECT_EQ(full(""), kEmpty);
}

TEST(FullPagePath, AtMost4095BytesNeverCut) {
  std::string longest = "/" + std::string(4094, 'p');
  EXPECT_EQ(full(longest), longest);
  EXPECT_EQ(full(longest + "q"), kTooLong);
}

}  // namespace
