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
  HelpFile help;
  HelpLoadResult result = parse_help_file(file.get(), &help);
  if (result != HelpLoadResult::kLoaded) {
    check(help.topics.empty());
    return 0;
  }
  check(!help.topics.empty() && help.heading[0] != '\0');
  for (const HelpTopic& topic : help.topics) {
    check(topic.key.size() < kLineSize - 1 && topic.key.find('\n') == std::string::npos);
    check(topic.title.size() < kLineSize - 1 && topic.title.find('\n') == std::string::npos);
    check(topic.body.empty() || (topic.body[0] != '#' && topic.body[0] != '%'));
  }
  return 0;
}
