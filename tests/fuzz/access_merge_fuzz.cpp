// Reads any content, edits the model a little, saves it merged with that same
// content, and reads the result back: never more blocks than the model holds,
// and every block of the model is still there.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "access/access_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

void read_text(const char* data, size_t size) {
  FILE* in = fmemopen(const_cast<char*>(data), size, "r");
  if (!in) __builtin_trap();
  clear_access_model();
  read_access_stream(in);
  fclose(in);
}

// Lines of the output that the reader takes as a block header.
int header_lines(const char* text) {
  int count = 0;
  for (const char* line = text; *line != '\0';) {
    const char* end = strchr(line, '\n');
    size_t length = end ? static_cast<size_t>(end - line) : strlen(line);
    if (line[0] != ';' && memchr(line, '{', length)) ++count;
    line += length + (end ? 1 : 0);
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks an edit, so removed slots and added blocks are merged too.
  int edit = data[0];
  const char* text = reinterpret_cast<const char*>(data + 1);
  size_t text_size = size - 1;
  read_text(text, text_size);
  if ((edit & 1) && access_slot_count > 0) remove_server_block(edit % access_slot_count);
  if (edit & 2) {
    int slot = add_server_block("added", (edit & 4) ? "80" : "");
    if (slot >= 0) add_block_entry(slot, "h", "u");
  }
  int live = access_block_count;

  FILE* old_file = fmemopen(const_cast<char*>(text), text_size, "r");
  if (text_size > 0 && !old_file) __builtin_trap();
  char* out = nullptr;
  size_t out_size = 0;
  FILE* stream = open_memstream(&out, &out_size);
  write_access_model(stream, old_file);
  fclose(stream);
  if (old_file) fclose(old_file);

  check(header_lines(out) <= live);
  read_text(out, out_size);
  check(access_block_count == live);
  free(out);
  return 0;
}
