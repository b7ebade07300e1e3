// The main window, its handlers and the program-wide widget state.
#ifndef TOLQ_APP_MAIN_WINDOW_H
#define TOLQ_APP_MAIN_WINDOW_H

#include <gtk/gtk.h>

struct ConvdPage;
struct AccessPage;
struct FilePage;

struct MainWindow {
  GtkWidget* window;
  GtkWidget* notebook;
  ConvdPage* convd_page;
  AccessPage* access_page;
  FilePage* read_page;
  FilePage* save_page;
  GtkWidget* apply_button;
};

inline constexpr int BROWSE_TARGET_READ = 8;
inline constexpr int BROWSE_TARGET_SAVE = 9;

extern GtkWidget* main_apply_button;
extern int browse_target;
extern int dict_selected_row;
extern const char* dict_selected_file;

// Builds the window, its four pages and the button row; -1 when a page builder failed.
int build_main_window(MainWindow* main);
// Fills a page from its settings file (FILE_KIND_CONVDRC or FILE_KIND_TOLQHOSTS).
// With library_only the convdrc is looked for only in the installed default copy.
void load_initial_file(MainWindow* main, int kind, int library_only);
// Start-up after the window is built: loads both files and clears the dirty state.
void load_settings_files(MainWindow* main);

int apply_changes(GtkWidget* widget, MainWindow* main);
void on_ok(GtkWidget* widget, MainWindow* main);
void on_help(GtkWidget* widget, MainWindow* main);
// The help key of a notebook page, or null for a page without help.
const char* help_key_for_page(int page);

// Marks a page dirty: data 0 the convd page, anything else the access-control page.
void mark_dirty(GtkWidget* widget, gpointer data);
// Sets the dirty flag of a page and makes Apply sensitive (the handlers' shared step).
void set_page_dirty(int* flag);
void remember_browse_target(GtkWidget* widget, gpointer data);
void dict_row_selected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
void dict_row_unselected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);

#endif
