// Any message file content parses without crashing, and every lookup answers.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/catalogue.h"
#include "tests/support/string_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StringFile file(std::string(reinterpret_cast<const char*>(data), size));
  if (!file.get()) return 0;
  std::unique_ptr<MessageCatalogue> catalogue = parse_message_catalogue(file.get());
  for (int number : {0, 7, 32, 51, 68, 120, -1})
    if (!message_text(catalogue.get(), number, nullptr)) __builtin_trap();
  size_t total = 0;
  for (const auto& entry : catalogue->entries) total += strlen(entry.text) + 1;
  if (total != catalogue->texts.size()) __builtin_trap();
  return 0;
}
