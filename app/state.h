// Program-wide state shared by the pages, the file readers and the writers.
#ifndef TOLQ_APP_STATE_H
#define TOLQ_APP_STATE_H

#include <string>

#include "common/input_file.h"
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

// The standard place of a settings file kind, where Apply writes it:
// /etc/tolq8/ja_JP/convdrc or /etc/tolq8/tolqhosts.
std::string standard_file_path(int kind);
// What the standard file of a kind was when this program last read or wrote
// it (exists is false when it was not there), so that Apply can tell whether
// someone else has written it since.
FileStamp& standard_file_stamp(int kind);
// Looks at the standard file of a kind as it is now: start-up reads it next.
void note_standard_file(int kind);
// After a read of path: when it is the standard file itself, the page now
// shows what that file holds.
void note_file_read(int kind, const char* path);

#endif
