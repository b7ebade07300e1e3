// The pages "読込" and "保存": either settings file from or to any path.
#ifndef TOLQ_FILEPAGES_FILE_PAGES_H
#define TOLQ_FILEPAGES_FILE_PAGES_H

#include <gtk/gtk.h>

#include "gui/state.h"

// The widgets are built when the page is first shown; null until then.
struct FilePage {
  GtkWidget* file_combo;  // "convdrc" or "tolqhosts"
  GtkWidget* path_entry;
  GtkWidget* previous_button;  // 前の版, on the read page only
};

// The read and save pages of the run, for handlers without data.
inline FilePage* read_page_record() {
  return main_window_record->read_page.get();
}
inline FilePage* save_page_record() {
  return main_window_record->save_page.get();
}

inline constexpr const char* kBrowseTitle = "TolqSysEnv_Server FileSelection";

int build_read_page(MainWindow* main);
int build_save_page(MainWindow* main);

// Reads the chosen file into its page, which then counts as changed.
void on_read_clicked(GtkWidget* button, MainWindow* main);
// Puts the previous version that Apply kept of the chosen kind's standard
// file into the read page's path: 読込 and 適用 then bring it back.
void on_previous_clicked(GtkWidget* button, MainWindow* main);
// Writes the chosen page to the path; no page counts as saved by it.
void on_save_clicked(GtkWidget* button, MainWindow* main);
// "clicked" of the pages' browse buttons: a file selection that fills the
// path entry of the page named by main->browse_target.
void open_browse_dialog(GtkWidget* button, MainWindow* main);

#endif
