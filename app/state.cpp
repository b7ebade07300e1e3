#include "app/state.h"

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
