// Path macros of dictionary paths, and the file-system helpers around the settings files.
#ifndef TOLQ_COMMON_PATHS_H
#define TOLQ_COMMON_PATHS_H

#include <cstddef>

// Rewrites "@LIBDIR/@LANG/dic" and the like into a real path, in place.
// Returns -1 when the result would not fit in size bytes; the buffer is then unusable.
int expand_path_macros(char* path, int size);
// Rewrites a real path under one of the known directories into macro form, in
// place. Returns -1, leaving the buffer unchanged, when it is under none of them.
int contract_path_macros(char* path, int size);
// 0 when dir followed by name exists, -1 otherwise (also when the joined path is too long).
int path_exists(const char* dir, const char* name);
// Creates, with mode 0775, every missing directory before the last '/' of path.
int make_parent_dirs(const char* path);

#endif
