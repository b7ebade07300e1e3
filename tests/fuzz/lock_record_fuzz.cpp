// The temporary files a lock lists are only ever "tmpXXXXXX" names on absolute
// paths, whatever a lock file holds.
#include <cstdint>
#include <string>

#include "common/file_lock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  for (const LeftFile& left : files_left_in(text)) {
    std::string name = left.path.substr(left.path.rfind('/') + 1);
    if (left.path[0] != '/' || name.size() != 9 || name.compare(0, 3, "tmp") != 0) __builtin_trap();
  }
  return 0;
}
