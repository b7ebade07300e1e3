#include "common/places.h"

#include <cstdio>

char etc_dir[kPathSize];
char lib_dir[kPathSize];
char lang_dir[kPathSize];
char home_dir[kPathSize];
char user_name[kPathSize];

void form_directory_strings() {
  snprintf(etc_dir, sizeof etc_dir, "%s/", kEtcRoot);
  snprintf(lib_dir, sizeof lib_dir, "%s/", kLibRoot);
  snprintf(lang_dir, sizeof lang_dir, "%s/", kLangName);
}

std::string standard_file_path(FileKind kind) {
  if (kind == FILE_KIND_CONVDRC) return std::string(etc_dir) + lang_dir + "convdrc";
  return std::string(etc_dir) + "tolqhosts";
}

std::string previous_version_path(FileKind kind) {
  return standard_file_path(kind) + "-";
}
