// Path macros of dictionary paths, and the file-system helpers around the settings files.
#ifndef TOLQ_COMMON_PATHS_H
#define TOLQ_COMMON_PATHS_H

#include <array>
#include <cstddef>

#include "common/places.h"

// A path macro and what it stands for. Leading macros stand only at the start of
// a path, as its first component; the others anywhere after it.
struct PathMacro {
  const char* name;   // with its '@'
  const char* value;  // into the places for @HOME and @USR
  bool leading;
  bool inner_contracted;  // leading only: whether @LANG and @USR are contracted after it
};
using PathMacros = std::array<PathMacro, 6>;
// Every macro the path functions know: the leading ones first, in the order a real
// path is tested against their directories, then the inner ones. @HOME and
// @USR stand for the user of places, which must outlive the table.
PathMacros path_macros(const Places& places);

// Rewrites "@LIBDIR/@LANG/dic" and the like into a real path, in place.
// Returns -1 when the result would not fit in size bytes; the buffer is then unusable.
int expand_path_macros(const Places& places, char* path, int size);
// Rewrites a real path under one of the known directories into macro form, in
// place. Returns -1, leaving the buffer unchanged, when it is under none of them.
int contract_path_macros(const Places& places, char* path, int size);
// True when dir followed by name exists (false also when the joined path is too long).
bool path_exists(const char* dir, const char* name);
// True when dir followed by name is a regular file (links followed): a FIFO or
// a device where a settings file belongs counts as no file.
bool regular_file_exists(const char* dir, const char* name);

#endif
