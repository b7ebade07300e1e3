// The three comment lines that open every settings file this program writes.
#ifndef TOLQ_COMMON_FILE_HEADER_H
#define TOLQ_COMMON_FILE_HEADER_H

#include <string>
#include <string_view>

// Appends the header naming the file, each line ended by line_end.
void append_file_header(std::string* out, const char* name, std::string_view line_end = "\n");

#endif
