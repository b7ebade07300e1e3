// The dialogs that add and change a server and a permitted host and user pair.
#ifndef TOLQ_ACCESS_ACCESS_DIALOGS_H
#define TOLQ_ACCESS_ACCESS_DIALOGS_H

#include <gtk/gtk.h>

struct MainWindow;

inline constexpr int DIALOG_MODE_ADD = 1;
inline constexpr int DIALOG_MODE_CHANGE = 2;

struct ServerDialog {
  GtkWidget* window;
  GtkWidget* host_entry;
  GtkWidget* port_entry;
};

struct UserDialog {
  GtkWidget* window;
  GtkWidget* host_entry;
  GtkWidget* user_entry;
};

// Launchers of the page's buttons.
void on_server_add_clicked(GtkWidget* button, MainWindow* main);
void on_server_change_clicked(GtkWidget* button, MainWindow* main);
void on_user_add_clicked(GtkWidget* button, MainWindow* main);
void on_user_change_clicked(GtkWidget* button, MainWindow* main);

// Run the dialog until it is closed (the record is in access_page_record while
// it is open): 0, or -1 after message 32.
int open_server_dialog(MainWindow* main, int mode, const char* title);
int open_user_dialog(MainWindow* main, int mode, const char* title);

// "clicked" of ＯＫ; data is the dialog window.
void on_server_add_ok(GtkWidget* button, gpointer window);
void on_server_change_ok(GtkWidget* button, gpointer window);
void on_user_add_ok(GtkWidget* button, gpointer window);
void on_user_change_ok(GtkWidget* button, gpointer window);

#endif
