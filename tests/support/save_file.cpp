// save_file DIR NAME BYTES [PREVIOUS]: writes BYTES as DIR + NAME through the
// settings writer, keeping the previous version at PREVIOUS, so that a test
// can watch the system calls of one save (strace).
#include <cstdio>

#include "common/safe_file.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: %s DIR NAME BYTES [PREVIOUS]\n", argv[0]);
    return 2;
  }
  SaveOptions options;
  if (argc > 4) options.backup_path = argv[4];
  return write_settings_file(argv[1], argv[2], argv[3], options) == 0 ? 0 : 1;
}
