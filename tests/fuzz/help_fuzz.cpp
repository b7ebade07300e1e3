// Any help file content loads or fails cleanly, and a loaded list is well formed.
#include <cstdint>
#include <cstdio>
#include <string>

#include "help/help_loader.h"
#include "tests/support/string_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StringFile file(std::string(reinterpret_cast<const char*>(data), size));
  if (!file.get()) return 0;
  HelpLoadResult result = parse_help_file(file.get());
  if (result != HelpLoadResult::kLoaded) {
    check(help_topics.empty());
    return 0;
  }
  check(!help_topics.empty() && help_heading[0] != '\0');
  for (const HelpTopic& topic : help_topics) {
    check(topic.key.size() < kLineSize - 1 && topic.key.find('\n') == std::string::npos);
    check(topic.title.size() < kLineSize - 1 && topic.title.find('\n') == std::string::npos);
    check(topic.body.empty() || (topic.body[0] != '#' && topic.body[0] != '%'));
  }
  free_help_topics();
  return 0;
}
