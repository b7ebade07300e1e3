#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "common/paths.h"
#include "common/places.h"
#include "tests/support/files.h"

namespace {

// The password entry's home directory and login name, as start-up sets them.
class PathMacros : public testing::Test {
 protected:
  void SetUp() override {
    copy_bounded(places.home_dir, "/root");
    copy_bounded(places.user_name, "root");
  }

  // The path after expansion, or "-1" when the expansion failed.
  std::string expanded(const std::string& path, int size = kPathSize) const {
    char buffer[kPathSize];
    copy_bounded(buffer, path.c_str());
    return expand_path_macros(places, buffer, size) == 0 ? buffer : "-1";
  }
  // The path after contraction, prefixed with the result.
  std::string contracted(const std::string& path, int size = kPathSize) const {
    char buffer[kPathSize];
    copy_bounded(buffer, path.c_str());
    int result = contract_path_macros(places, buffer, size);
    return std::to_string(result) + " " + buffer;
  }

  Places places;
};

TEST_F(PathMacros, LeadingMacrosExpandToTheirDirectories) {
  EXPECT_EQ(expanded("@LIBDIR/@LANG/dic/x.dic"), "//usr/lib/tolq8/ja_JP/dic/x.dic");
  EXPECT_EQ(expanded("@ETCDIR/a"), "/etc/tolq8/a");
  EXPECT_EQ(expanded("@VARDIR/dic"), "/var/lib/tolq8/dic");
  EXPECT_EQ(expanded("@HOME/dic/@USR"), "/root/dic/root");
  EXPECT_EQ(expanded("@HOME"), "/root");
  // Names are compared by their first characters only.
  EXPECT_EQ(expanded("@LIBDIRX/a"), "//usr/lib/tolq8/a");
  EXPECT_EQ(expanded("@HOMES/a"), "/root/a");
}

TEST_F(PathMacros, UnknownLeadingNamesStayButInnerMacrosExpand) {
  EXPECT_EQ(expanded("@LANG/x"), "@LANG/x");
  EXPECT_EQ(expanded("@FOO/@LANG/@USR"), "@FOO/ja_JP/root");
  EXPECT_EQ(expanded("/a/@LANG/b@USR/c"), "/a/ja_JP/broot/c");
  EXPECT_EQ(expanded("dic/@LANGx"), "dic/ja_JPx");
  EXPECT_EQ(expanded(""), "");
  EXPECT_EQ(expand_path_macros(places, nullptr, kPathSize), -1);
}

TEST_F(PathMacros, ExpansionFailsWhenTheResultWouldNotFit) {
  // "//usr/lib/tolq8" (15) and "/abcd" (5) need 21 bytes although the macro form fits in 13.
  EXPECT_EQ(expanded("@LIBDIR/abcd", 20), "-1");
  EXPECT_EQ(expanded("@LIBDIR/abcd", 21), "//usr/lib/tolq8/abcd");
  EXPECT_EQ(expanded("@LIBDIR/abcd", 12), "-1");  // the macro form itself too long
  EXPECT_EQ(expanded("/x/@LANG", 9), "/x/ja_JP");
  EXPECT_EQ(expanded("/x/@LANG", 8), "-1");
  EXPECT_EQ(expanded("/@USR/y", 8), "/root/y");
  EXPECT_EQ(expanded("/@USR/y", 7), "-1");
  // Plain characters beyond the room are dropped without an error.
  EXPECT_EQ(expanded("abcdef", 4), "abc");
}

TEST_F(PathMacros, ContractionUsesTheFirstMatchingDirectory) {
  EXPECT_EQ(contracted("/etc/tolq8/ja_JP/dic/usr/root/x.dic"),
            "0 @ETCDIR/@LANG/dic/usr/@USR/x.dic");
  EXPECT_EQ(contracted("//usr/lib/tolq8/ja_JP/x"), "0 @LIBDIR/@LANG/x");
  // No inner contraction after @VARDIR/ or @HOME/.
  EXPECT_EQ(contracted("/var/lib/tolq8/ja_JP/x"), "0 @VARDIR/ja_JP/x");
  EXPECT_EQ(contracted("/root/ja_JP/root/x"), "0 @HOME/ja_JP/root/x");
  // Inner macros are looked for at every position, not only after a slash.
  EXPECT_EQ(contracted("/etc/tolq8/xja_JP/yroot/"), "0 @ETCDIR/x@LANG/y@USR/");
  EXPECT_EQ(contracted("/etc/tolq8/ja_JP"), "0 @ETCDIR/ja_JP");
}

TEST_F(PathMacros, PathsOutsideTheKnownDirectoriesAreNotContracted) {
  EXPECT_EQ(contracted("dic/x"), "-1 dic/x");
  EXPECT_EQ(contracted("/opt/x"), "-1 /opt/x");
  EXPECT_EQ(contracted("/usr/lib/tolq8/x"), "-1 /usr/lib/tolq8/x");  // single leading slash
  EXPECT_EQ(contracted("/etc/tolq8"), "-1 /etc/tolq8");
  EXPECT_EQ(contracted("/etc/tolq8x/a"), "-1 /etc/tolq8x/a");
  EXPECT_EQ(contracted("/etc/tolq8/ab", 13), "-1 /etc/tolq8/ab");  // not below the size
  EXPECT_EQ(contract_path_macros(places, nullptr, kPathSize), -1);
}

TEST_F(PathMacros, WithoutAUserNameContractionStillEnds) {
  places.user_name[0] = '\0';
  EXPECT_EQ(contracted("/etc/tolq8/a/b/c"), "0 @ETCDIR/a/b/c");
}

TEST_F(PathMacros, ContractedPathsExpandBackToTheOriginal) {
  for (const char* path : {"/etc/tolq8/ja_JP/dic/usr/root/x.dic", "//usr/lib/tolq8/ja_JP/a",
                           "/var/lib/tolq8/ja_JP/x", "/root/dic"}) {
    char buffer[kPathSize];
    copy_bounded(buffer, path);
    ASSERT_EQ(contract_path_macros(places, buffer, sizeof buffer), 0) << path;
    ASSERT_EQ(expand_path_macros(places, buffer, sizeof buffer), 0) << path;
    EXPECT_STREQ(buffer, path);
  }
}

TEST(PathExists, TestsTheWholeJoinedPath) {
  TempDir tmp;
  write_file(tmp / "f", "");
  EXPECT_TRUE(path_exists(tmp.path().c_str(), "f"));
  EXPECT_FALSE(path_exists(tmp.path().c_str(), "g"));
  // A directory whose path is exactly 255 bytes long: a test cut at 255 bytes
  // would find it for any name inside it.
  std::string dir = tmp.path();
  while (dir.size() + 51 < 255) {
    dir += std::string(50, 'd') + "/";
    mkdir(dir.c_str(), 0755);
  }
  dir += std::string(255 - dir.size(), 'e');
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  dir += "/";
  write_file(dir + "real", "");
  EXPECT_TRUE(path_exists(dir.c_str(), "real"));
  EXPECT_FALSE(path_exists(dir.c_str(), "missing"));
  // Too long to hold in a path buffer: reported missing, not cut to something else.
  EXPECT_FALSE(path_exists(tmp.path().c_str(), std::string(kPathSize, 'f').c_str()));
}

}  // namespace
