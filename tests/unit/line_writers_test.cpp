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

TEST(TextLine, KeywordTwoTabsAndTheValue) {
  char buffer[1024];
  EXPECT_EQ(output_of([&](FILE* out) {
              write_text_line(out, "@VARDIR/dic", "convd_dir", buffer, sizeof buffer);
            }),
            "convd_dir\t\t@VARDIR/dic\n");
  EXPECT_STREQ(buffer, "@VARDIR/dic");  // the buffer keeps the copy
  // Written unchanged: blanks and EUC-JP bytes are not touched.
  EXPECT_EQ(output_of([&](FILE* out) {
              write_text_line(out, "a b\xa4\xa2", "k", buffer, sizeof buffer);
            }),
            "k\t\ta b\xa4\xa2\n");
}

TEST(TextLine, EmptyTextWritesNothing) {
  char buffer[16];
  EXPECT_EQ(output_of([&](FILE* out) { write_text_line(out, "", "autosave", buffer, 16); }), "");
  EXPECT_EQ(output_of([&](FILE* out) { write_text_line(out, "abc", "autosave", buffer, 1); }), "");
}

TEST(TextLine, CutsToTheBufferAndZeroesAllOfIt) {
  char buffer[8];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(output_of([&](FILE* out) { write_text_line(out, "abc", "k", buffer, sizeof buffer); }),
            "k\t\tabc\n");
  for (size_t i = 3; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '\0') << i;
  std::string long_text(2000, 'v');
  char line_buffer[1024];
  EXPECT_EQ(output_of([&](FILE* out) {
              write_text_line(out, long_text.c_str(), "readfile", line_buffer, sizeof line_buffer);
            }),
            "readfile\t\t" + std::string(1023, 'v') + "\n");
}

}  // namespace
