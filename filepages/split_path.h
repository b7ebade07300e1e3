// Splitting a full path into its directory and file name.
#ifndef TOLQ_FILEPAGES_SPLIT_PATH_H
#define TOLQ_FILEPAGES_SPLIT_PATH_H

#include <cstddef>

// Splits path at its last '/': the directory keeps the slash, the name is what
// follows (empty when the path ends with '/'). Each part is cut to its buffer's
// size - 1 bytes. 0, or -1 for an empty path or one without a '/'.
int split_path(const char* path, char* dir, size_t dir_size, char* name, size_t name_size);

#endif
