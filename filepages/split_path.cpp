#include "filepages/split_path.h"

#include <cstring>

#include "common/text.h"

int split_path(const char* path, char* dir, size_t dir_size, char* name, size_t name_size) {
  if (!path || path[0] == '\0' || dir_size == 0 || name_size == 0) return -1;
  memset(dir, 0, dir_size);
  memset(name, 0, name_size);
  copy_bounded(dir, dir_size, path);
  char* slash = strrchr(dir, '/');
  if (!slash) return -1;
  copy_bounded(name, name_size, slash + 1);
  slash[1] = '\0';
  return 0;
}
