// Any convdrc content reads without crashing into well-formed values.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "serverrc/convdrc_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// A word: no blank, no tab, no line end; a NUL or a CR inside it may stay.
bool is_word(const std::string& text) {
  return !text.empty() && text.find_first_of(" \t\n") == std::string::npos;
}

void check_count(const std::string& text, int lo, int hi) {
  char* end = nullptr;
  long value = strtol(text.c_str(), &end, 10);
  check(!text.empty() && *end == '\0' && value >= lo && value <= hi);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<ConvdrcSource> source = parse_convdrc(bytes);
  check(source->bytes == bytes);
  ConvdSettings settings = source->settings();
  for (const auto& dict : settings.dicts) check(is_word(dict));
  check(is_word(settings.dir));
  check_count(settings.sticky, kStickyMin, kStickyMax);
  check_count(settings.autosave, kAutosaveMin, kAutosaveMax);
  // The characters are words joined by single blanks.
  const std::string& giji = settings.giji;
  check(giji.find_first_of("\t\n") == std::string::npos);
  check(giji.empty() || (giji.front() != ' ' && giji.back() != ' '));
  check(giji.find("  ") == std::string::npos);
  return 0;
}
