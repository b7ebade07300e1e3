// Lines of the saved settings files: the header and "keyword<TAB><TAB>value".
#ifndef TOLQ_COMMON_LINE_WRITERS_H
#define TOLQ_COMMON_LINE_WRITERS_H

#include <cstdio>
#include <string>
#include <string_view>

// Appends "keyword<TAB><TAB>text" and line_end to out, with the text whole
// and unchanged, whatever bytes it holds; an empty text appends nothing.
void append_text_line(std::string* out, std::string_view text, const char* keyword,
                      std::string_view line_end = "\n");
// Appends the three-line header naming the file, each line ended by line_end.
void append_file_header(std::string* out, const char* name, std::string_view line_end = "\n");

// The same, written to a stream.
void write_text_line(FILE* out, std::string_view text, const char* keyword);
void write_file_header(FILE* out, const char* name);

#endif
