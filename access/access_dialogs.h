// The dialogs that add and change a server and a permitted host and user pair.
//
// A dialog only asks: ＯＫ checks the two texts and, when they pass, ends the
// dialog with them; the launcher then puts them into the model and the list.
// Enter in either entry is ＯＫ, Esc is キャンセル, F1 is ヘルプ.
#ifndef TOLQ_ACCESS_ACCESS_DIALOGS_H
#define TOLQ_ACCESS_ACCESS_DIALOGS_H

#include <gtk/gtk.h>

#include <functional>
#include <optional>
#include <string>

struct MainWindow;

enum class DialogMode { kAdd, kChange };

// The two texts of a dialog as the file holds them (EUC-JP bytes): a server's
// host and port, or a pair's host and user.
struct EntryTexts {
  std::string host;
  std::string second;

  bool operator==(const EntryTexts& other) const {
    return host == other.host && second == other.second;
  }
};

// The one record of the server and pair dialogs, while one is open.
struct EntryDialog {
  GtkWidget* window = nullptr;
  GtkWidget* host_entry = nullptr;
  GtkWidget* second_entry = nullptr;  // the port or the user
  GtkWidget* ok_button = nullptr;
  GtkWidget* cancel_button = nullptr;
  GtkWidget* help_button = nullptr;
  // Change mode: the row's texts, and what the entries showed for them.
  std::optional<EntryTexts> row;
  EntryTexts shown;
  // The message number of the first check the texts fail, 0 when they pass.
  std::function<int(const EntryTexts&)> refusal;
  std::optional<EntryTexts> accepted;
};

// Launchers of the page's buttons: they ask, then change the page.
void on_server_add_clicked(GtkWidget* button, MainWindow* main);
void on_server_change_clicked(GtkWidget* button, MainWindow* main);
void on_user_add_clicked(GtkWidget* button, MainWindow* main);
void on_user_change_clicked(GtkWidget* button, MainWindow* main);

// Run the dialog until it ends (its record is the page's dialog meanwhile)
// and return the texts accepted with ＯＫ; none after キャンセル, Esc, a close
// request or message 32. Change mode starts from the selected row.
std::optional<EntryTexts> open_server_dialog(MainWindow* main, DialogMode mode);
std::optional<EntryTexts> open_user_dialog(MainWindow* main, DialogMode mode);

// "clicked" of ＯＫ; data is the dialog's record.
void on_entry_dialog_ok(GtkWidget* button, gpointer dialog);

#endif
