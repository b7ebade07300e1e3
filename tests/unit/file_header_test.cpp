#include <gtest/gtest.h>

#include <string>

#include "common/file_header.h"

namespace {

std::string header(const char* name, std::string_view line_end = "\n") {
  std::string out;
  append_file_header(&out, name, line_end);
  return out;
}

TEST(FileHeader, ThreeLinesNamingTheFile) {
  EXPECT_EQ(header("convdrc"), ";;\n;; convdrc : created by cfgmate \n;;\n");
  EXPECT_EQ(header("tolqhosts", "\r\n"), ";;\r\n;; tolqhosts : created by cfgmate \r\n;;\r\n");
}

}  // namespace
