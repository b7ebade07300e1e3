#include "common/state.h"

MainWindow* main_window_record;
int browse_target;

int convd_dirty;
int hosts_dirty;
int convd_read_ok;
int hosts_read_ok;

char convd_src_dir[kPathSize];
char convd_src_name[kPathSize];
char hosts_src_dir[kPathSize];
char hosts_src_name[kPathSize];

namespace {

FileStamp convd_stamp;
FileStamp hosts_stamp;

}  // namespace

void remember_file_read(int kind, const char* dir, const char* name) {
  bool convdrc = kind == FILE_KIND_CONVDRC;
  copy_bounded(convdrc ? convd_src_dir : hosts_src_dir, dir);
  copy_bounded(convdrc ? convd_src_name : hosts_src_name, name);
  (convdrc ? convd_read_ok : hosts_read_ok) = 1;
}

FileStamp& standard_file_stamp(int kind) {
  return kind == FILE_KIND_CONVDRC ? convd_stamp : hosts_stamp;
}

void note_standard_file(int kind) {
  standard_file_stamp(kind) = stamp_file(standard_file_path(kind).c_str());
}

void note_file_read(int kind, const char* path, const FileStamp* read) {
  std::string standard = standard_file_path(kind);
  if (same_file_place(path, standard.c_str()))
    standard_file_stamp(kind) = read ? *read : stamp_file(standard.c_str());
}

bool has_unapplied_changes() {
  return convd_dirty || hosts_dirty;
}

void set_page_dirty(int* flag) {
  gtk_widget_set_sensitive(main_apply_button(), TRUE);
  *flag = 1;
}

void mark_dirty(GtkWidget*, gpointer data) {
  set_page_dirty(data == nullptr ? &convd_dirty : &hosts_dirty);
}

void remember_browse_target(GtkWidget*, gpointer data) {
  browse_target = GPOINTER_TO_INT(data);
}

void reset_program_state() {
  main_window_record = nullptr;
  browse_target = 0;
  convd_dirty = hosts_dirty = convd_read_ok = hosts_read_ok = 0;
  for (char* name : {convd_src_dir, convd_src_name, hosts_src_dir, hosts_src_name}) name[0] = '\0';
  convd_stamp = hosts_stamp = FileStamp{};
  form_directory_strings();
}
