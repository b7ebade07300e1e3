// The page "アクセス制御": the servers of tolqhosts and their permitted hosts and users.
#ifndef TOLQ_ACCESS_ACCESS_PAGE_H
#define TOLQ_ACCESS_ACCESS_PAGE_H

#include <gtk/gtk.h>

struct MainWindow;
struct ServerDialog;
struct UserDialog;

struct AccessPage {
  GtkWidget* server_list;  // host, port, hidden slot number
  GtkWidget* user_list;    // host, user
  ServerDialog* server_dialog;
  UserDialog* user_dialog;
  GtkWidget* server_add_button;
  GtkWidget* server_change_button;
  GtkWidget* server_remove_button;
  GtkWidget* user_add_button;
  GtkWidget* user_change_button;
  GtkWidget* user_remove_button;
};

extern AccessPage* access_page_record;

int build_access_page(MainWindow* main);
void fill_server_list();
void clear_list(GtkWidget* list);

// Reads hosts_src_dir + hosts_src_name into the model; 0 or -1 (model unchanged).
int read_access_file(MainWindow* main);
// Writes the model to dir + name, merged with the file read last; 0 or -1.
int save_access_file(MainWindow* main, const char* dir, const char* name);

#endif
