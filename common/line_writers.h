// Lines of the saved settings files: the header and "keyword<TAB><TAB>value".
#ifndef TOLQ_COMMON_LINE_WRITERS_H
#define TOLQ_COMMON_LINE_WRITERS_H

#include <cstddef>
#include <cstdio>

// Copies text into buffer (zeroed, at most size - 1 bytes) and writes
// "%s\t\t%s\n" with keyword and the copy; an empty copy writes nothing.
void write_text_line(FILE* out, const char* text, const char* keyword, char* buffer, size_t size);
// The three-line header naming the file.
void write_file_header(FILE* out, const char* name);

#endif
