#include <gtest/gtest.h>

#include "common/unified_diff.h"

namespace {

std::string numbered(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) text += std::to_string(i) + "\n";
  return text;
}

TEST(UnifiedDiff, SameBytesGiveNoHunk) {
  EXPECT_EQ(unified_diff("a\nb\n", "a\nb\n"), "");
}

TEST(UnifiedDiff, AChangeNearTheEndKeepsThreeLinesOfContext) {
  std::string before = numbered(1, 9);
  std::string after = numbered(1, 4) + "X\n" + numbered(6, 9);
  EXPECT_EQ(unified_diff(before, after), "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+X\n 6\n 7\n 8\n");
}

TEST(UnifiedDiff, ANewFileIsAllAddedLines) {
  EXPECT_EQ(unified_diff("", "a\nb\n"), "@@ -0,0 +1,2 @@\n+a\n+b\n");
}

TEST(UnifiedDiff, AMissingFinalNewlineIsAChange) {
  EXPECT_EQ(unified_diff("a\nb", "a\nb\n"),
            "@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n");
}

TEST(UnifiedDiff, BytesAreKeptAsTheyAre) {
  EXPECT_EQ(unified_diff("\xb0\xa1\r\n", "\xb0\xa2\r\n"),
            "@@ -1 +1 @@\n-\xb0\xa1\r\n+\xb0\xa2\r\n");
}

}  // namespace
