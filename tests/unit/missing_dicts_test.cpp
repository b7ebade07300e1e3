#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/places.h"
#include "serverrc/missing_dicts.h"
#include "tests/support/files.h"

namespace {

using Names = std::vector<std::string>;

TEST(MissingDictionaries, RelativeMacroAndAbsoluteNamesAreLookedForWhereTheServerLooks) {
  TempDir tmp;
  mkdir((tmp / "dic").c_str(), 0755);
  mkdir((tmp / "dic/ja_JP").c_str(), 0755);
  write_file(tmp / "dic/here.dic", "");
  write_file(tmp / "dic/ja_JP/lang.dic", "");
  write_file(tmp / "abs.dic", "");
  Names names = {"here.dic", "@LANG/lang.dic", tmp / "abs.dic",
                 "gone.dic", "@LANG/gone.dic", "/nonexistent/nosuch.dic"};
  MissingDictionaries missing = find_missing_dictionaries(Places{}, tmp / "dic", names);
  EXPECT_FALSE(missing.dir_missing);
  EXPECT_EQ(missing.names, (Names{"gone.dic", "@LANG/gone.dic", "/nonexistent/nosuch.dic"}));
}

TEST(MissingDictionaries, ADirectoryThatIsNotThereIsNamedExpanded) {
  MissingDictionaries missing =
      find_missing_dictionaries(Places{}, "@VARDIR/no/such/dir", {"a.dic"});
  EXPECT_TRUE(missing.dir_missing);
  EXPECT_EQ(missing.dir, "/var/lib/tolq8/no/such/dir");
  EXPECT_EQ(missing.names, Names{"a.dic"});
}

TEST(MissingDictionaries, AFileIsNoDirectory) {
  TempDir tmp;
  write_file(tmp / "plain", "");
  EXPECT_TRUE(find_missing_dictionaries(Places{}, tmp / "plain", {}).dir_missing);
}

}  // namespace
