// Turning a path typed on the read and save pages into the file it names: the
// full path, then its directory and file name.
#ifndef TOLQ_COMMON_SPLIT_PATH_H
#define TOLQ_COMMON_SPLIT_PATH_H

#include <cstddef>
#include <string>

#include "common/places.h"

// Why a typed path names no file.
enum class PagePathFault {
  kNone,
  kEmpty,       // nothing typed
  kEdgeBlank,   // a blank or tab at its start or end
  kUnresolved,  // relative without a working directory, or "~" without a home directory
  kTooLong,     // the full path is longer than kPathSize - 1 bytes
};

// The full path a typed path names, as shells and file choosers take it: "~"
// and "~/..." stand under the home_dir of places, any other relative path (a
// "~user" too) under the working directory. full is set only when the result
// is kNone.
PagePathFault full_page_path(const Places& places, const std::string& typed, std::string* full);

// Splits path at its last '/': the directory keeps the slash, the name is what
// follows (empty when the path ends with '/'). Each part is cut to its buffer's
// size - 1 bytes. 0, or -1 for an empty path or one without a '/'.
int split_path(const char* path, char* dir, size_t dir_size, char* name, size_t name_size);

#endif
