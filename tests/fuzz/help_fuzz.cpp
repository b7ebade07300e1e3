// Any help file content loads or fails cleanly, and a loaded list is well formed.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "help/help_loader.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (!file) return 0;
  HelpLoadResult result = parse_help_file(file);
  fclose(file);
  check(help_current_topic == nullptr && help_current_row == 0);
  if (result != HelpLoadResult::kLoaded) {
    check(help_topics == nullptr);
    return 0;
  }
  check(help_topics != nullptr && help_heading[0] != '\0');
  for (HelpTopic* topic = help_topics; topic; topic = topic->next) {
    check(topic->key && topic->title);
    check(strlen(topic->key) < kLineSize - 1 && !strchr(topic->key, '\n'));
    check(strlen(topic->title) < kLineSize - 1 && !strchr(topic->title, '\n'));
    check(!topic->body || (topic->body[0] != '#' && topic->body[0] != '%'));
  }
  free_help_topics();
  return 0;
}
