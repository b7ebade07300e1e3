#include "common/line_writers.h"

#include <cstring>

#include "common/text.h"

void write_text_line(FILE* out, const char* text, const char* keyword, char* buffer, size_t size) {
  if (size == 0) return;
  memset(buffer, 0, size);
  copy_bounded(buffer, size, text);
  if (buffer[0] == '\0') return;
  fprintf(out, "%s\t\t%s\n", keyword, buffer);
}

void write_file_header(FILE* out, const char* name) {
  fprintf(out, ";;\n");
  fprintf(out, ";;");
  fprintf(out, " %s %s \n", name, ": created by cfgmate");
  fprintf(out, ";;\n");
}
