// Replays every file of the given corpus directories through a fuzz target,
// so the normal test run catches regressions on the saved inputs.
#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    DIR* dir = opendir(argv[i]);
    if (!dir) {
      fprintf(stderr, "cannot open corpus %s\n", argv[i]);
      return 1;
    }
    while (dirent* entry = readdir(dir)) {
      if (entry->d_name[0] == '.') continue;
      std::ifstream in(std::string(argv[i]) + "/" + entry->d_name, std::ios::binary);
      std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), {});
      LLVMFuzzerTestOneInput(data.data(), data.size());
      ++replayed;
    }
    closedir(dir);
  }
  printf("replayed %d inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
