#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "common/line_writers.h"

namespace {

// What the writer puts into a stream.
std::string output_of(const std::function<void(FILE*)>& write) {
  char* data = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  write(out);
  fclose(out);
  std::string text(data, size);
  free(data);
  return text;
}

TEST(FileHeader, ThreeLinesNamingTheFile) {
  EXPECT_EQ(output_of([](FILE* out) { write_file_header(out, "convdrc"); }),
            ";;\n;; convdrc : created by cfgmate \n;;\n");
  EXPECT_EQ(output_of([](FILE* out) { write_file_header(out, "tolqhosts"); }),
            ";;\n;; tolqhosts : created by cfgmate \n;;\n");
}

TEST(TextLine, KeywordTwoTabsAndTheWholeValue) {
  EXPECT_EQ(output_of([](FILE* out) { write_text_line(out, "@VARDIR/dic", "convd_dir"); }),
            "convd_dir\t\t@VARDIR/dic\n");
  // Written unchanged and whole: blanks, EUC-JP bytes, a NUL, any length.
  std::string value = "a b\xa4\xa2" + std::string(1, '\0') + std::string(2000, 'v');
  EXPECT_EQ(output_of([&](FILE* out) { write_text_line(out, value, "k"); }),
            "k\t\t" + value + "\n");
  EXPECT_EQ(output_of([](FILE* out) { write_text_line(out, "", "autosave"); }), "");
}

}  // namespace
