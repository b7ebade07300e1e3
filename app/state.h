// Program-wide state shared by the pages, the file readers and the writers.
#ifndef TOLQ_APP_STATE_H
#define TOLQ_APP_STATE_H

#include "common/text.h"

// Fixed places of the input-method system.
inline constexpr const char* kEtcRoot = "/etc/tolq8";
inline constexpr const char* kLibRoot = "//usr/lib/tolq8";
inline constexpr const char* kVarRoot = "/var/lib/tolq8";
inline constexpr const char* kShareRoot = "/usr/share/tolq8";
inline constexpr const char* kLangName = "ja_JP";

inline constexpr int FILE_KIND_CONVDRC = 1;
inline constexpr int FILE_KIND_TOLQHOSTS = 12;

extern char etc_dir[kPathSize];   // "/etc/tolq8/"
extern char lib_dir[kPathSize];   // "//usr/lib/tolq8/"
extern char lang_dir[kPathSize];  // "ja_JP/"
extern char home_dir[kPathSize];
extern char user_name[kPathSize];

extern int convd_dirty;
extern int hosts_dirty;
extern int convd_read_ok;
extern int hosts_read_ok;

// The settings files read last; each directory ends with '/'.
extern char convd_src_dir[kPathSize];
extern char convd_src_name[kPathSize];
extern char hosts_src_dir[kPathSize];
extern char hosts_src_name[kPathSize];

// Forms etc_dir, lib_dir and lang_dir from the fixed roots.
void form_directory_strings();

#endif
