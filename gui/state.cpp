#include "gui/state.h"

#include "common/input_file.h"
#include "converter/converter.h"

// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): dataless handlers.
MainWindow* main_window_record;

namespace {

// The status line's one message: each new one replaces the last.
constexpr const char kStatusContext[] = "result";

}  // namespace

std::array<SettingsFile, 2>& settings_files() {
  return main_window_record->files;
}

SettingsFile& settings_file(FileKind kind) {
  return settings_files()[kind == FILE_KIND_CONVDRC ? 0 : 1];
}

bool has_unapplied_changes(const MainWindow* main) {
  for (const SettingsFile& file : main->files)
    if (file.dirty) return true;
  return false;
}

void remember_file_read(FileKind kind, const char* dir, const char* name) {
  SettingsFile& file = settings_file(kind);
  copy_bounded(file.src_dir, dir);
  copy_bounded(file.src_name, name);
  file.read_ok = true;
}

void note_standard_file(FileKind kind) {
  SettingsFile& file = settings_file(kind);
  file.stamp = stamp_file(file.path().c_str());
}

void note_file_read(FileKind kind, const char* path, const FileStamp* read) {
  SettingsFile& file = settings_file(kind);
  std::string standard = file.path();
  if (same_file_place(path, standard.c_str()))
    file.stamp = read ? *read : stamp_file(standard.c_str());
}

void set_page_dirty(FileKind kind) {
  gtk_widget_set_sensitive(main_apply_button(), TRUE);
  settings_file(kind).dirty = true;
}

void mark_dirty(GtkWidget*, gpointer data) {
  set_page_dirty(static_cast<FileKind>(GPOINTER_TO_INT(data)));
}

void remember_browse_target(GtkWidget*, gpointer data) {
  main_window_record->browse_target = GPOINTER_TO_INT(data);
}

const char* message_text(int number) {
  const MessageCatalogue* catalogue =
      main_window_record ? main_window_record->catalogue.get() : nullptr;
  return message_text(catalogue, number, nullptr);
}

void show_status(const std::string& text) {
  if (!main_window_record || !main_window_record->status_bar) return;
  GtkStatusbar* bar = GTK_STATUSBAR(main_window_record->status_bar);
  guint context = gtk_statusbar_get_context_id(bar, kStatusContext);
  gtk_statusbar_pop(bar, context);
  if (!text.empty()) gtk_statusbar_push(bar, context, text.c_str());
}

std::string status_text() {
  if (!main_window_record || !main_window_record->status_bar) return "";
  GtkStatusbar* bar = GTK_STATUSBAR(main_window_record->status_bar);
  return gtk_label_get_text(GTK_LABEL(bar->label));
}

std::string fill_in(std::string text, const std::vector<std::string>& values) {
  size_t at = 0;
  for (const std::string& value : values) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

std::string display_path(const std::string& path) {
  gchar* name = g_filename_display_name(path.c_str());
  std::string shown = name;
  g_free(name);
  return shown;
}

std::string status_message(const char* text, const std::vector<std::string>& paths) {
  std::vector<std::string> shown;
  for (const std::string& path : paths) shown.push_back(display_path(path));
  return fill_in(euc_to_utf8(text).get(), shown);
}
