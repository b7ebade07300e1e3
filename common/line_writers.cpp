#include "common/line_writers.h"

void write_text_line(FILE* out, std::string_view text, const char* keyword) {
  if (text.empty()) return;
  fprintf(out, "%s\t\t", keyword);
  fwrite(text.data(), 1, text.size(), out);
  fputc('\n', out);
}

void write_file_header(FILE* out, const char* name) {
  fprintf(out, ";;\n");
  fprintf(out, ";;");
  fprintf(out, " %s %s \n", name, ": created by cfgmate");
  fprintf(out, ";;\n");
}
