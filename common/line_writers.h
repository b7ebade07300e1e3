// Lines of the saved settings files: the header and "keyword<TAB><TAB>value".
#ifndef TOLQ_COMMON_LINE_WRITERS_H
#define TOLQ_COMMON_LINE_WRITERS_H

#include <cstdio>
#include <string>
#include <string_view>

// Writes "keyword<TAB><TAB>text\n" with the text whole and unchanged, whatever
// bytes it holds; an empty text writes nothing.
void write_text_line(FILE* out, std::string_view text, const char* keyword);
// The three-line header naming the file.
std::string file_header_text(const char* name);
void write_file_header(FILE* out, const char* name);

#endif
