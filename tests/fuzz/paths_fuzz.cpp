// Path macro expansion and contraction stay inside their buffers and always
// leave a terminated path, whatever the path, home directory and user name.
#include <cstdint>
#include <cstring>
#include <string>

#include "common/paths.h"
#include "common/places.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first two bytes choose the buffer size and split home, user and path.
  if (size < 2) return 0;
  int buffer_size = 1 + data[0] % 64 * 64;
  std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  size_t cut = rest.find('\n');
  std::string home = cut == std::string::npos ? "/root" : rest.substr(0, cut);
  std::string path = cut == std::string::npos ? rest : rest.substr(cut + 1);
  Places places;
  copy_bounded(places.home_dir, home.c_str());
  copy_bounded(places.user_name, data[1] % 2 ? "root" : "@USR");
  for (auto* rewrite : {expand_path_macros, contract_path_macros}) {
    std::string buffer(static_cast<size_t>(buffer_size), '\0');
    copy_bounded(buffer.data(), buffer.size(), path.c_str());
    if (rewrite(places, buffer.data(), buffer_size) == 0 &&
        strnlen(buffer.data(), buffer.size()) >= buffer.size())
      __builtin_trap();
  }
  return 0;
}
