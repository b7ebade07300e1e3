#include "common/line_writers.h"

void write_text_line(FILE* out, std::string_view text, const char* keyword) {
  if (text.empty()) return;
  fprintf(out, "%s\t\t", keyword);
  fwrite(text.data(), 1, text.size(), out);
  fputc('\n', out);
}

std::string file_header_text(const char* name) {
  return std::string(";;\n;; ") + name + " : created by cfgmate \n;;\n";
}

void write_file_header(FILE* out, const char* name) {
  fputs(file_header_text(name).c_str(), out);
}
