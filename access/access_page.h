// The page "アクセス制御": the servers of tolqhosts and their permitted hosts and users.
#ifndef TOLQ_ACCESS_ACCESS_PAGE_H
#define TOLQ_ACCESS_ACCESS_PAGE_H

#include <gtk/gtk.h>

#include <memory>

#include "access/access_dialogs.h"
#include "common/safe_file.h"
#include "common/state.h"

struct AccessPage {
  GtkWidget* server_list;                       // host, port, hidden slot number
  GtkWidget* user_list;                         // host, user
  std::unique_ptr<ServerDialog> server_dialog;  // while that dialog is open
  std::unique_ptr<UserDialog> user_dialog;
  GtkWidget* server_add_button;
  GtkWidget* server_change_button;
  GtkWidget* server_remove_button;
  GtkWidget* user_add_button;
  GtkWidget* user_change_button;
  GtkWidget* user_remove_button;
};

// The access-control page of the run, for handlers without data.
inline AccessPage* access_page_record() {
  return main_window_record->access_page.get();
}

// The rows last selected, and their cell texts (the lists' own storage).
extern int selected_server_row;
extern int selected_user_row;
extern const char* selected_server_host;
extern const char* selected_server_port;
extern const char* selected_entry_host;
extern const char* selected_entry_user;

int build_access_page(MainWindow* main);
void fill_server_list();
void clear_list(GtkWidget* list);

// Appends a server row; with select, it becomes the selected row.
void append_server_row(const char* host, int slot, const char* port, int select);
void append_user_row(const char* host, const char* user);
// The slot of the block shown in the selected server row.
int selected_server_slot();
// True when the list has a selected row.
bool list_has_selection(GtkWidget* list);
// Scrolls the list to the row when it is not fully visible and makes it the focus row.
void show_list_row(GtkWidget* list, int row);
// Selects the row and shows it as above. The row's "select_row" handler runs
// even when it was selected already, so the selection state follows cells
// that were just rewritten.
void select_list_row(GtkWidget* list, int row);

void on_server_selected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
void on_server_unselected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
void on_user_selected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
void on_user_unselected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
void on_server_remove(GtkWidget* button, gpointer data);
void on_user_remove(GtkWidget* button, gpointer data);

// Reads hosts_src_dir + hosts_src_name into the model; 0 or -1 (model unchanged).
int read_access_file(MainWindow* main);
// Fills the page from the system tolqhosts when there is one, and says so
// when it holds more than the page shows.
void load_tolqhosts(MainWindow* main);
// Reads dir + name into the model and empties the lists; 0 or -1 (model unchanged).
int read_access_from(MainWindow* main, const char* dir, const char* name);
// Writes the model to dir + name, merged with the file read last; 0 or -1.
int save_access_file(MainWindow* main, const char* dir, const char* name,
                     const SaveOptions& options = {});

#endif
