#include "common/line_writers.h"

namespace {

void put(FILE* out, const std::string& text) {
  fwrite(text.data(), 1, text.size(), out);
}

}  // namespace

void append_text_line(std::string* out, std::string_view text, const char* keyword,
                      std::string_view line_end) {
  if (text.empty()) return;
  out->append(keyword).append("\t\t").append(text).append(line_end);
}

void append_file_header(std::string* out, const char* name, std::string_view line_end) {
  out->append(";;").append(line_end);
  out->append(";; ").append(name).append(" : created by cfgmate ").append(line_end);
  out->append(";;").append(line_end);
}

void write_text_line(FILE* out, std::string_view text, const char* keyword) {
  std::string line;
  append_text_line(&line, text, keyword);
  put(out, line);
}

void write_file_header(FILE* out, const char* name) {
  std::string header;
  append_file_header(&header, name);
  put(out, header);
}
