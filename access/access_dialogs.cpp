#include "access/access_dialogs.h"

#include <cstring>
#include <new>

#include "access/access_file.h"
#include "access/access_page.h"
#include "access/texts.h"
#include "common/form_fields.h"
#include "common/message_dialog.h"
#include "common/message_numbers.h"
#include "common/state.h"
#include "common/texts.h"
#include "common/widgets.h"
#include "converter/converter.h"
#include "help/help_window.h"

namespace {

struct DialogLayout {
  const char* first_label;
  int first_length;
  const char* second_label;
  int second_length;
  GCallback ok_handler;
  const char* help_key;
};

struct DialogWidgets {
  GtkWidget* window;
  GtkWidget* first_entry;
  GtkWidget* second_entry;
};

GtkWidget* attach_field(GtkWidget* table, int row, const char* label_text, int max_length) {
  GtkWidget* label = new_euc_label(label_text);
  gtk_misc_set_alignment(GTK_MISC(label), 0.0, 0.0);
  gtk_table_attach(GTK_TABLE(table), label, 0, 1, row, row + 1, GTK_FILL, GTK_FILL, 0, 0);
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_max_length(GTK_ENTRY(entry), max_length);
  gtk_table_attach_defaults(GTK_TABLE(table), entry, 1, 2, row, row + 1);
  return entry;
}

void pack_dialog_button(GtkWidget* box, const char* label, GCallback handler, gpointer data) {
  GtkWidget* button = new_euc_button(label, 5);
  gtk_box_pack_start(GTK_BOX(box), button, FALSE, FALSE, 0);
  g_signal_connect(button, "clicked", handler, data);
}

DialogWidgets build_entry_dialog(const char* title, const DialogLayout& layout) {
  DialogWidgets widgets;
  widgets.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(widgets.window), title);
  gtk_container_set_border_width(GTK_CONTAINER(widgets.window), 10);
  g_signal_connect(widgets.window, "delete_event", G_CALLBACK(on_delete_event), nullptr);
  GtkWidget* vbox = gtk_vbox_new(FALSE, 5);
  gtk_container_add(GTK_CONTAINER(widgets.window), vbox);
  GtkWidget* table = gtk_table_new(2, 2, FALSE);
  gtk_container_set_border_width(GTK_CONTAINER(table), 5);
  gtk_box_pack_start(GTK_BOX(vbox), table, FALSE, FALSE, 0);
  widgets.first_entry = attach_field(table, 0, layout.first_label, layout.first_length);
  widgets.second_entry = attach_field(table, 1, layout.second_label, layout.second_length);
  gtk_box_pack_start(GTK_BOX(vbox), gtk_hseparator_new(), TRUE, FALSE, 0);
  GtkWidget* buttons = gtk_hbutton_box_new();
  gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_EDGE);
  gtk_box_pack_start(GTK_BOX(vbox), buttons, FALSE, FALSE, 0);
  pack_dialog_button(buttons, kTextOk, layout.ok_handler, widgets.window);
  pack_dialog_button(buttons, kTextCancel, G_CALLBACK(close_dialog), widgets.window);
  pack_dialog_button(buttons, kTextHelp, G_CALLBACK(on_help_key_clicked),
                     const_cast<char*>(layout.help_key));
  return widgets;
}

// Change mode shows the selected row's cells, whole: a text read from the file
// may be longer than the entry takes when typing.
void preset_entry(GtkWidget* entry, const char* cell) {
  if (!cell || cell[0] == '\0') return;
  gint length = static_cast<gint>(g_utf8_strlen(cell, -1));
  if (length > gtk_entry_get_max_length(GTK_ENTRY(entry)))
    gtk_entry_set_max_length(GTK_ENTRY(entry), length);
  set_entry_text(entry, utf8_to_euc(cell).get());
}

void run_entry_dialog(MainWindow* main, GtkWidget* window) {
  place_beside_main(window, main, 100, 40);
  gtk_widget_show_all(window);
  run_modal_loop(main);
}

// The two texts of a server dialog (host, port) or a user dialog (host, user);
// both records hold the window and then their two entries.
struct Fields {
  char host[kLineSize];
  char second[kLineSize];

  explicit Fields(const ServerDialog* dialog) : Fields(dialog->host_entry, dialog->port_entry) {}
  explicit Fields(const UserDialog* dialog) : Fields(dialog->host_entry, dialog->user_entry) {}
  Fields(GtkWidget* first_entry, GtkWidget* second_entry) {
    copy_bounded(host, gtk_entry_get_text(GTK_ENTRY(first_entry)));
    copy_bounded(second, gtk_entry_get_text(GTK_ENTRY(second_entry)));
  }
};

// Puts changed texts into a row of a two-column list and selects it again.
void replace_row(GtkWidget* list, int row, const Fields& f) {
  gtk_clist_set_text(GTK_CLIST(list), row, 0, f.host);
  gtk_clist_set_text(GTK_CLIST(list), row, 1, f.second);
  select_list_row(list, row);
}

// True in change mode when the two texts are still the row's own (the
// unchanged texts are null when adding).
bool row_unchanged(const char* first, const char* second, const char* unchanged_first,
                   const char* unchanged_second) {
  return unchanged_first && unchanged_second && strcmp(first, unchanged_first) == 0 &&
         strcmp(second, unchanged_second) == 0;
}

// Shows the message of the first failing check; true when all pass. A row
// left as it was is not checked for texts the file cannot hold: those came
// from a file read, not from typing.
bool server_fields_valid(const char* host, const char* port, int mode) {
  bool change = mode == DIALOG_MODE_CHANGE;
  const char* old_host = change ? selected_server_host : nullptr;
  const char* old_port = change ? selected_server_port : nullptr;
  int message = 0;
  if (host[0] == '\0')
    message = kMessageNoServerHost;
  else if (validate_port(port) != 0)
    message = kMessageBadPort;
  else if (server_is_duplicate(host, port, old_host, old_port) != 0)
    message = kMessageDuplicate;
  else if (!row_unchanged(host, port, old_host, old_port) && validate_host_text(host, true) != 0)
    message = kMessageBadHostOrUser;
  if (message != 0) show_message_number(message);
  return message == 0;
}

bool user_fields_valid(int slot, const char* host, const char* user, int mode) {
  bool change = mode == DIALOG_MODE_CHANGE;
  const char* old_host = change ? selected_entry_host : nullptr;
  const char* old_user = change ? selected_entry_user : nullptr;
  int message = 0;
  if (host[0] == '\0' && user[0] == '\0')
    message = kMessageNoHostOrUser;
  else if (entry_is_duplicate(slot, host, user, old_host, old_user) != 0)
    message = kMessageDuplicate;
  else if (!row_unchanged(host, user, old_host, old_user) &&
           (validate_host_text(host, false) != 0 || validate_user_text(user, host) != 0))
    message = kMessageBadHostOrUser;
  if (message != 0) show_message_number(message);
  return message == 0;
}

void finish_dialog(gpointer window) {
  set_page_dirty(&hosts_dirty);
  end_modal_loop(GTK_WIDGET(window));
}

// Opens a server or user dialog, keeps its record in the page while it runs
// and presets its entries in change mode (the presets are null when adding).
template <typename Record>
int open_entry_dialog(MainWindow* main, std::unique_ptr<Record>* record, const char* title,
                      const DialogLayout& layout, const char* first, const char* second) {
  record->reset(new (std::nothrow) Record{});
  if (!*record) {
    show_message_number(kMessageNoMemory);
    return -1;
  }
  gtk_widget_set_sensitive(main->window, FALSE);
  DialogWidgets widgets = build_entry_dialog(title, layout);
  **record = {widgets.window, widgets.first_entry, widgets.second_entry};
  if (first) preset_entry(widgets.first_entry, first);
  if (second) preset_entry(widgets.second_entry, second);
  run_entry_dialog(main, (*record)->window);
  record->reset();
  return 0;
}

}  // namespace

void on_server_add_clicked(GtkWidget*, MainWindow* main) {
  if (access_block_count >= MAX_ACCESS_BLOCKS) {
    show_message_number(kMessageTooManyServers);
    return;
  }
  open_server_dialog(main, DIALOG_MODE_ADD, kTitleServerAdd);
}

void on_server_change_clicked(GtkWidget*, MainWindow* main) {
  if (!list_has_selection(main->access_page->server_list)) return;
  open_server_dialog(main, DIALOG_MODE_CHANGE, kTitleServerChange);
}

void on_user_add_clicked(GtkWidget*, MainWindow* main) {
  if (!list_has_selection(main->access_page->server_list)) return;
  if (entry_order_count[selected_server_slot()] >= MAX_BLOCK_ENTRIES) {
    show_message_number(kMessageTooManyUsers);
    return;
  }
  open_user_dialog(main, DIALOG_MODE_ADD, kTitleUserAdd);
}

void on_user_change_clicked(GtkWidget*, MainWindow* main) {
  if (!list_has_selection(main->access_page->server_list) ||
      !list_has_selection(main->access_page->user_list))
    return;
  open_user_dialog(main, DIALOG_MODE_CHANGE, kTitleUserChange);
}

int open_server_dialog(MainWindow* main, int mode, const char* title) {
  bool add = mode == DIALOG_MODE_ADD;
  DialogLayout layout{kTextServerHostLabel,
                      255,
                      kTextPortLabel,
                      5,
                      add ? G_CALLBACK(on_server_add_ok) : G_CALLBACK(on_server_change_ok),
                      add ? "SERVENV_ADDACS_SERVER" : "SERVENV_CHGACS_SERVER"};
  return open_entry_dialog(main, &main->access_page->server_dialog, title, layout,
                           add ? nullptr : selected_server_host,
                           add ? nullptr : selected_server_port);
}

int open_user_dialog(MainWindow* main, int mode, const char* title) {
  bool add = mode == DIALOG_MODE_ADD;
  DialogLayout layout{kTextEntryHostLabel,
                      255,
                      kTextEntryUserLabel,
                      255,
                      add ? G_CALLBACK(on_user_add_ok) : G_CALLBACK(on_user_change_ok),
                      add ? "SERVENV_ADDACS_USER" : "SERVENV_CHGACS_USER"};
  return open_entry_dialog(main, &main->access_page->user_dialog, title, layout,
                           add ? nullptr : selected_entry_host,
                           add ? nullptr : selected_entry_user);
}

void on_server_add_ok(GtkWidget*, gpointer window) {
  Fields f(access_page_record()->server_dialog.get());
  if (!server_fields_valid(f.host, f.second, DIALOG_MODE_ADD)) return;
  int slot = add_server_block(f.host, f.second);
  if (slot < 0) {
    show_message_number(kMessageTooManyServers);
    return;
  }
  GtkWidget* list = access_page_record()->server_list;
  append_server_row(f.host, slot, f.second, 1);
  show_list_row(list, GTK_CLIST(list)->rows - 1);
  finish_dialog(window);
}

void on_server_change_ok(GtkWidget*, gpointer window) {
  Fields f(access_page_record()->server_dialog.get());
  if (!server_fields_valid(f.host, f.second, DIALOG_MODE_CHANGE)) return;
  change_server_block(selected_server_slot(), f.host, f.second);
  replace_row(access_page_record()->server_list, selected_server_row, f);
  finish_dialog(window);
}

void on_user_add_ok(GtkWidget*, gpointer window) {
  Fields f(access_page_record()->user_dialog.get());
  int slot = selected_server_slot();
  if (!user_fields_valid(slot, f.host, f.second, DIALOG_MODE_ADD)) return;
  if (add_block_entry(slot, f.host, f.second) < 0) {
    show_message_number(kMessageTooManyUsers);
    return;
  }
  GtkWidget* list = access_page_record()->user_list;
  append_user_row(f.host, f.second);
  // The new row becomes the selection, so a change edits the row it presets.
  select_list_row(list, GTK_CLIST(list)->rows - 1);
  finish_dialog(window);
}

void on_user_change_ok(GtkWidget*, gpointer window) {
  Fields f(access_page_record()->user_dialog.get());
  int slot = selected_server_slot();
  if (!user_fields_valid(slot, f.host, f.second, DIALOG_MODE_CHANGE)) return;
  change_block_entry(slot, selected_user_row, f.host, f.second);
  replace_row(access_page_record()->user_list, selected_user_row, f);
  finish_dialog(window);
}
