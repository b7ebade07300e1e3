// The pages "読込" and "保存": either settings file from or to any path.
#ifndef TOLQ_FILEPAGES_FILE_PAGES_H
#define TOLQ_FILEPAGES_FILE_PAGES_H

#include <gtk/gtk.h>

struct MainWindow;

struct FilePage {
  GtkWidget* file_combo;  // "convdrc" or "tolqhosts"
  GtkWidget* path_entry;
};

extern FilePage* read_page_record;
extern FilePage* save_page_record;

int build_read_page(MainWindow* main);
int build_save_page(MainWindow* main);

// Reads the chosen file into its page, which then counts as changed.
void on_read_clicked(GtkWidget* button, MainWindow* main);
// Writes the chosen page to the path; no page counts as saved by it.
void on_save_clicked(GtkWidget* button, MainWindow* main);

#endif
