#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/line_writers.h"
#include "tests/support/string_file.h"

namespace {

TEST(FileHeader, ThreeLinesNamingTheFile) {
  EXPECT_EQ(written_by([](FILE* out) { write_file_header(out, "convdrc"); }),
            ";;\n;; convdrc : created by cfgmate \n;;\n");
  EXPECT_EQ(written_by([](FILE* out) { write_file_header(out, "tolqhosts"); }),
            ";;\n;; tolqhosts : created by cfgmate \n;;\n");
}

TEST(TextLine, KeywordTwoTabsAndTheWholeValue) {
  EXPECT_EQ(written_by([](FILE* out) { write_text_line(out, "@VARDIR/dic", "convd_dir"); }),
            "convd_dir\t\t@VARDIR/dic\n");
  // Written unchanged and whole: blanks, EUC-JP bytes, a NUL, any length.
  std::string value = "a b\xa4\xa2" + std::string(1, '\0') + std::string(2000, 'v');
  EXPECT_EQ(written_by([&](FILE* out) { write_text_line(out, value, "k"); }),
            "k\t\t" + value + "\n");
  EXPECT_EQ(written_by([](FILE* out) { write_text_line(out, "", "autosave"); }), "");
}

}  // namespace
