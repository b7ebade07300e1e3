#include "common/file_header.h"

void append_file_header(std::string* out, const char* name, std::string_view line_end) {
  out->append(";;").append(line_end);
  out->append(";; ").append(name).append(" : created by cfgmate ").append(line_end);
  out->append(";;").append(line_end);
}
