// The fixed places of the input-method system and of the running user.
#ifndef TOLQ_COMMON_PLACES_H
#define TOLQ_COMMON_PLACES_H

#include <string>

#include "common/text.h"

inline constexpr const char* kEtcRoot = "/etc/tolq8";
inline constexpr const char* kLibRoot = "//usr/lib/tolq8";
inline constexpr const char* kVarRoot = "/var/lib/tolq8";
inline constexpr const char* kShareRoot = "/usr/share/tolq8";
inline constexpr const char* kLangName = "ja_JP";

// The kinds of settings file. A plain enum: handlers get it as signal data
// through GINT_TO_POINTER.
enum FileKind { FILE_KIND_CONVDRC = 1, FILE_KIND_TOLQHOSTS = 12 };

// The directories of the system and of the running user that the run works in.
struct Places {
  char etc_dir[kPathSize] = {};   // "/etc/tolq8/"
  char lib_dir[kPathSize] = {};   // "//usr/lib/tolq8/"
  char lang_dir[kPathSize] = {};  // "ja_JP/"
  // From the password entry of the running user.
  char home_dir[kPathSize] = {};
  char user_name[kPathSize] = {};
};

// Forms etc_dir, lib_dir and lang_dir from the fixed roots.
void form_directory_strings(Places* places);

// The standard place of a settings file kind, where Apply writes it:
// /etc/tolq8/ja_JP/convdrc or /etc/tolq8/tolqhosts.
std::string standard_file_path(const Places& places, FileKind kind);
// Where Apply keeps the previous version of that file: its path and "-".
std::string previous_version_path(const Places& places, FileKind kind);

#endif
