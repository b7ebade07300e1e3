// Reading a convdrc and writing it back, with and without carrying the file
// over, gives a file that reads back to the same values, apart from the one
// trailing slash of the dictionary directory that writing removes; and every
// line that is not a setting (nor an old header) is carried over unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "serverrc/convdrc_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

FILE* stream_of(const void* data, size_t size) {
  FILE* in = fmemopen(const_cast<void*>(data), size, "r");
  check(in != nullptr);
  return in;
}

std::string written(const ConvdSettings& settings, FILE* source) {
  char* text = nullptr;
  size_t length = 0;
  FILE* out = open_memstream(&text, &length);
  check(out != nullptr);
  write_convdrc_lines(out, source, settings);
  fclose(out);
  std::string result(text, length);
  free(text);
  return result;
}

ConvdSettings parsed(const void* data, size_t size) {
  FILE* in = stream_of(data, size);
  ConvdSettings settings = parse_convdrc(in);
  fclose(in);
  return settings;
}

std::vector<std::string> physical_lines(const void* data, size_t size) {
  FILE* in = stream_of(data, size);
  std::vector<std::string> lines;
  std::string line;
  while (read_physical_line(in, &line)) lines.push_back(line);
  fclose(in);
  return lines;
}

bool is_setting(const std::string& line) {
  std::vector<std::string_view> words = split_words(line);
  if (words.empty()) return false;
  for (const char* keyword :
       {"convd_dir", "readfile", "ondisk_off", "max_sticky_env", "autosave", "set_giji_eisuu"})
    if (words[0] == keyword) return true;
  return false;
}

// The physical lines the writer must carry over: those of every logical line
// (continued by backslashes) that is neither a setting nor an old header.
std::vector<std::string> kept_lines(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  for (size_t i = 0; i < lines.size();) {
    size_t end = i;
    std::string joined = lines[i];
    while (!joined.empty() && joined.back() == '\\') {
      joined.pop_back();  // also on the last line, which continues onto nothing
      if (end + 1 == lines.size()) break;
      joined += lines[++end];
    }
    if (lines[i].compare(0, 2, ";;") != 0 && (lines[i][0] == ';' || !is_setting(joined)))
      kept.insert(kept.end(), lines.begin() + i, lines.begin() + end + 1);
    i = end + 1;
  }
  return kept;
}

bool in_order(const std::vector<std::string>& wanted, const std::vector<std::string>& lines) {
  size_t next = 0;
  for (const auto& line : lines)
    if (next < wanted.size() && line == wanted[next]) ++next;
  return next == wanted.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ConvdSettings read = parsed(data, size);
  ConvdSettings expected = read;
  if (expected.dir.size() > 1 && expected.dir.back() == '/') expected.dir.pop_back();

  std::string alone = written(read, nullptr);
  check(parsed(alone.data(), alone.size()) == expected);

  FILE* source = stream_of(data, size);
  std::string merged = written(read, source);
  fclose(source);
  check(parsed(merged.data(), merged.size()) == expected);
  check(in_order(kept_lines(physical_lines(data, size)),
                 physical_lines(merged.data(), merged.size())));
  return 0;
}
