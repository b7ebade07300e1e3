// The page "convd 基本設定": every setting of convdrc in widgets.
#ifndef TOLQ_SERVERRC_CONVD_PAGE_H
#define TOLQ_SERVERRC_CONVD_PAGE_H

#include <gtk/gtk.h>

struct MainWindow;

// The widgets that hold the server settings; they are the settings' only store.
struct ConvdPage {
  GtkWidget* dict_list;  // one-column GtkCList, one row per "readfile"
  GtkWidget* ondisk_check;
  GtkObject* sticky_adjustment;
  GtkWidget* sticky_spin;
  GtkObject* autosave_adjustment;
  GtkWidget* autosave_spin;
  GtkWidget* dir_entry;
  GtkWidget* giji_entry;
  GtkWidget* add_button;
  GtkWidget* change_button;
  GtkWidget* remove_button;
};

extern ConvdPage* main_convd_page;
extern int dict_column_width;

int build_convd_page(MainWindow* main);
// Sets dict_column_width to the widest text of the column and the column to that width.
void fit_list_column(GtkWidget* list, int column);
// Puts the cursor of the entries and spin buttons at position 0.
void rewind_convd_fields(MainWindow* main);
void on_dict_remove(GtkWidget* button, gpointer data);
void on_convd_reset(GtkWidget* button, MainWindow* main);

// Reads convd_src_dir + convd_src_name into the page; 0 or -1 (page unchanged).
int read_convdrc(MainWindow* main);
void set_convd_defaults(MainWindow* main);
// Writes the page to dir + name, carrying over the file read last; 0 or -1.
int write_convdrc(MainWindow* main, const char* dir, const char* name);

#endif
