#include "app/state.h"

#include <cstdio>

char etc_dir[kPathSize];
char lib_dir[kPathSize];
char lang_dir[kPathSize];
char home_dir[kPathSize];
char user_name[kPathSize];

int convd_dirty;
int hosts_dirty;
int convd_read_ok;
int hosts_read_ok;

char convd_src_dir[kPathSize];
char convd_src_name[kPathSize];
char hosts_src_dir[kPathSize];
char hosts_src_name[kPathSize];

void form_directory_strings() {
  snprintf(etc_dir, sizeof etc_dir, "%s/", kEtcRoot);
  snprintf(lib_dir, sizeof lib_dir, "%s/", kLibRoot);
  snprintf(lang_dir, sizeof lang_dir, "%s/", kLangName);
}

namespace {

FileStamp convd_stamp;
FileStamp hosts_stamp;

}  // namespace

std::string standard_file_path(int kind) {
  if (kind == FILE_KIND_CONVDRC) return std::string(etc_dir) + lang_dir + "convdrc";
  return std::string(etc_dir) + "tolqhosts";
}

FileStamp& standard_file_stamp(int kind) {
  return kind == FILE_KIND_CONVDRC ? convd_stamp : hosts_stamp;
}

void note_standard_file(int kind) {
  standard_file_stamp(kind) = stamp_file(standard_file_path(kind).c_str());
}

void note_file_read(int kind, const char* path) {
  FileStamp read = stamp_file(path);
  FileStamp standard = stamp_file(standard_file_path(kind).c_str());
  if (read.exists && standard.exists && read.dev == standard.dev && read.ino == standard.ino)
    standard_file_stamp(kind) = standard;
}
