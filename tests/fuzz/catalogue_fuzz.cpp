// Any message file content parses without crashing, and every lookup answers.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (!file) return 0;
  std::unique_ptr<MessageCatalogue> catalogue = parse_message_catalogue(file);
  fclose(file);
  for (int number : {0, 7, 32, 51, 68, 120, -1})
    if (!message_text(catalogue.get(), number, nullptr)) __builtin_trap();
  size_t total = 0;
  for (const auto& entry : catalogue->entries) total += strlen(entry.text) + 1;
  if (total != catalogue->texts.size()) __builtin_trap();
  return 0;
}
