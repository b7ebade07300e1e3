#include "common/places.h"

#include <cstdio>

void form_directory_strings(Places* places) {
  snprintf(places->etc_dir, sizeof places->etc_dir, "%s/", kEtcRoot);
  snprintf(places->lib_dir, sizeof places->lib_dir, "%s/", kLibRoot);
  snprintf(places->lang_dir, sizeof places->lang_dir, "%s/", kLangName);
}

std::string standard_file_path(const Places& places, FileKind kind) {
  if (kind == FILE_KIND_CONVDRC) return std::string(places.etc_dir) + places.lang_dir + "convdrc";
  return std::string(places.etc_dir) + "tolqhosts";
}

std::string previous_version_path(const Places& places, FileKind kind) {
  return standard_file_path(places, kind) + "-";
}
