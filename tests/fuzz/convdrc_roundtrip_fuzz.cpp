// Reading a convdrc and writing it back, with and without carrying the file
// over, gives a file that reads back to the same values, apart from the one
// trailing slash of the dictionary directory that writing removes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "serverrc/convdrc_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
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
  FILE* in = fmemopen(const_cast<void*>(data), size, "r");
  check(in != nullptr);
  ConvdSettings settings = parse_convdrc(in);
  fclose(in);
  return settings;
}

// Values so long that their written line no longer fits a 1023-byte read
// piece do not come back whole; that is the line limit, not a fault.
bool fits(const char* keyword, const std::string& value) {
  // A value that ends with a backslash is written with a blank after it.
  size_t blank = !value.empty() && value.back() == '\\' ? 1 : 0;
  return strlen(keyword) + 2 + value.size() + blank <= 1023;
}

bool lines_fit(const ConvdSettings& s) {
  for (const auto& dict : s.dicts)
    if (!fits("readfile", dict)) return false;
  return fits("convd_dir", s.dir) && fits("set_giji_eisuu", s.giji);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ConvdSettings read = parsed(data, size);
  ConvdSettings expected = read;
  if (expected.dir.size() > 1 && expected.dir.back() == '/') expected.dir.pop_back();

  std::string alone = written(read, nullptr);
  if (lines_fit(read)) check(parsed(alone.data(), alone.size()) == expected);

  FILE* source = fmemopen(const_cast<uint8_t*>(data), size, "r");
  check(source != nullptr);
  std::string merged = written(read, source);
  fclose(source);
  // In a short file no joined line reaches the 1023-byte limit, where the
  // reader's pieces and the writer's part ways.
  if (lines_fit(read) && (size <= 1000 || !memchr(data, '\\', size)))
    check(parsed(merged.data(), merged.size()) == expected);
  return 0;
}
