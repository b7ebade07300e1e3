#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "common/file_place.h"
#include "tests/support/files.h"

namespace {

constexpr uid_t kOther = 1000;

// The place of path, or "refused" / "errno N".
std::string place_of(const std::string& path, int flags = kFollowLast) {
  FilePlace place;
  FileError error;
  if (find_file_place(path, flags, &place, &error) == 0) return place.path();
  if (error.refusal == FileRefusal::kPlantedLink) return "refused " + error.path;
  return "errno " + std::to_string(error.number);
}

void link_owned(const std::string& target, const std::string& link, uid_t owner) {
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  ASSERT_EQ(lchown(link.c_str(), owner, owner), 0);
}

// As fs.protected_symlinks=1 has it for root: in a sticky, world-writable
// directory only links of root or of the directory's owner are followed, at
// any place in the path; elsewhere every link is.
TEST(FilePlace, LinksInASharedDirectoryAreFollowedOnlyForRootOrItsOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give links other owners";
  TempDir tmp;
  std::string shared = tmp / "shared";
  ASSERT_EQ(mkdir(shared.c_str(), 0755), 0);
  ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
  write_file(tmp / "victim", "root only\n");
  link_owned(tmp / "victim", shared + "/planted", kOther);
  link_owned(tmp.path(), shared + "/dir", kOther);
  link_owned(tmp / "victim", shared + "/by-root", 0);
  EXPECT_EQ(place_of(shared + "/planted"), "refused " + shared + "/planted");
  EXPECT_EQ(place_of(shared + "/dir/victim"), "refused " + shared + "/dir");
  EXPECT_EQ(place_of(shared + "/by-root"), tmp / "victim");
  // Not followed, the link itself is the place (a previous version replaces it).
  EXPECT_EQ(place_of(shared + "/planted", 0), shared + "/planted");

  ASSERT_EQ(chown(shared.c_str(), kOther, kOther), 0);
  EXPECT_EQ(place_of(shared + "/planted"), tmp / "victim");
  ASSERT_EQ(chown(shared.c_str(), 0, 0), 0);
  ASSERT_EQ(chmod(shared.c_str(), 0777), 0);  // world-writable, not sticky
  EXPECT_EQ(place_of(shared + "/planted"), tmp / "victim");
}

TEST(FilePlace, MakesTheMissingDirectoriesOfThePathButNotThoseALinkNames) {
  TempDir tmp;
  mode_t mask = umask(077);
  EXPECT_EQ(place_of(tmp / "a/b/f", kFollowLast | kMakeDirs), tmp / "a/b/f");
  umask(mask);
  EXPECT_EQ(file_mode(tmp / "a/b"), 0775);
  write_file(tmp / "file", "");
  EXPECT_EQ(place_of(tmp / "file/sub/f", kMakeDirs), "errno " + std::to_string(ENOTDIR));
  ASSERT_EQ(symlink((tmp / "none/dir").c_str(), (tmp / "link").c_str()), 0);
  EXPECT_EQ(place_of(tmp / "link/f", kFollowLast | kMakeDirs), "errno " + std::to_string(ENOENT));
  EXPECT_FALSE(file_exists(tmp / "none"));
  ASSERT_EQ(symlink((tmp / "nothing").c_str(), (tmp / "dangling").c_str()), 0);
  EXPECT_EQ(place_of(tmp / "dangling"), "errno " + std::to_string(ENOENT));
  EXPECT_EQ(place_of(tmp / "a/../a/./b/f"), tmp / "a/b/f");
  EXPECT_TRUE(same_file_place((tmp / "a/b/f").c_str(), (tmp / "a/../a/b/f").c_str()));
  EXPECT_FALSE(same_file_place((tmp / "a/b/f").c_str(), (tmp / "a/b/g").c_str()));
}

}  // namespace
