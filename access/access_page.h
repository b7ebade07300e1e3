// The page "アクセス制御": the servers of tolqhosts and their permitted hosts and users.
#ifndef TOLQ_ACCESS_ACCESS_PAGE_H
#define TOLQ_ACCESS_ACCESS_PAGE_H

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "access/access_dialogs.h"
#include "access/access_model.h"
#include "gui/state.h"

// The row last selected in a list, copied from the model when it was
// selected: its texts as the file holds them, whatever the cells show.
struct RowSelection {
  int row = -1;      // none selected yet; kept when the row is unselected
  int slot = -1;     // the block of the server, or of the pair
  EntryTexts texts;  // host and port, or host and user
};

// The lists show the model's texts in UTF-8; the model keeps the file's bytes.
struct AccessPage {
  GtkWidget* server_list;               // host, port; each row's data is its block's slot
  GtkWidget* user_list;                 // host, user of the selected server, in list order
  std::unique_ptr<EntryDialog> dialog;  // while a server or pair dialog is open
  GtkWidget* server_add_button;
  GtkWidget* server_change_button;
  GtkWidget* server_remove_button;
  GtkWidget* user_add_button;
  GtkWidget* user_change_button;
  GtkWidget* user_remove_button;
  RowSelection selected_server;
  RowSelection selected_pair;  // its row is also the pair's order in its block
  AccessModel model;           // what the lists show
};

// The access-control page of the run, for handlers without data.
inline AccessPage* access_page_record() {
  return main_window_record->access_page.get();
}

int build_access_page(MainWindow* main);
void fill_server_list();
void clear_list(GtkWidget* list);

// Appends a server row (texts as the file holds them); with kSelect, it
// becomes the selected row.
enum class NewRow { kKeepSelection, kSelect };
void append_server_row(const char* host, int slot, const char* port, NewRow new_row);
void append_user_row(const char* host, const char* user);
// The slot of the block shown in the selected server row.
int selected_server_slot();

// What the dialogs accepted, put into the model and the lists; the page is
// dirty afterwards and the row added or changed is the selected one.
void add_server(const EntryTexts& texts);
void change_selected_server(const EntryTexts& texts);
void add_pair(const EntryTexts& texts);
void change_selected_pair(const EntryTexts& texts);
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

// Fills the page from the system tolqhosts when there is one, and says so
// when it holds more than the page shows.
void load_tolqhosts(MainWindow* main);
// Reads dir + name into the model and empties the lists; 0 or -1 (model unchanged).
int read_access_from(MainWindow* main, const char* dir, const char* name);
// 読込 of a tolqhosts: reads dir + name into the page; 0 with message 66, or
// 128 when the file holds no convd server, or 121 when it holds more than the
// page shows; or -1 (page unchanged).
int read_access_page(MainWindow* main, const char* dir, const char* name, int* message);
// Exactly the bytes Apply and 保存 write: the model, merged into the
// tolqhosts read last when one was read.
std::string render_access_page(MainWindow* main);

#endif
