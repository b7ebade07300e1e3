#include "access/access_dialogs.h"

#include <gdk/gdkkeysyms.h>

#include <memory>
#include <new>

#include "access/access_model.h"
#include "access/access_page.h"
#include "access/texts.h"
#include "common/message_numbers.h"
#include "converter/converter.h"
#include "gui/form_fields.h"
#include "gui/message_dialog.h"
#include "gui/state.h"
#include "gui/texts.h"
#include "gui/widgets.h"
#include "help/help_window.h"

namespace {

struct DialogLayout {
  const char* title;
  const char* first_label;
  int first_length;
  const char* second_label;
  int second_length;
  const char* help_key;
};

// A row of the table: the label and its entry, which Enter makes press ＯＫ.
GtkWidget* attach_field(GtkWidget* table, guint row, const char* label_text, int max_length) {
  GtkWidget* label = new_euc_label(label_text);
  gtk_misc_set_alignment(GTK_MISC(label), 0.0, 0.0);
  gtk_table_attach(GTK_TABLE(table), label, 0, 1, row, row + 1, GTK_FILL, GTK_FILL, 0, 0);
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_max_length(GTK_ENTRY(entry), max_length);
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  gtk_table_attach_defaults(GTK_TABLE(table), entry, 1, 2, row, row + 1);
  label_field(label, entry);
  return entry;
}

GtkWidget* pack_dialog_button(GtkWidget* box, const char* label, GCallback handler, gpointer data) {
  GtkWidget* button = new_euc_button(label, 5);
  gtk_box_pack_start(GTK_BOX(box), button, FALSE, FALSE, 0);
  g_signal_connect(button, "clicked", handler, data);
  return button;
}

void build_entry_dialog(EntryDialog* d, MainWindow* main, const DialogLayout& layout) {
  d->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(d->window), layout.title);
  gtk_container_set_border_width(GTK_CONTAINER(d->window), 10);
  g_signal_connect(d->window, "delete_event", G_CALLBACK(on_delete_event), nullptr);
  set_dialog_parent(d->window, GTK_WINDOW(main->window), true);
  GtkWidget* vbox = gtk_vbox_new(FALSE, 5);
  gtk_container_add(GTK_CONTAINER(d->window), vbox);
  GtkWidget* table = gtk_table_new(2, 2, FALSE);
  gtk_container_set_border_width(GTK_CONTAINER(table), 5);
  gtk_box_pack_start(GTK_BOX(vbox), table, FALSE, FALSE, 0);
  d->host_entry = attach_field(table, 0, layout.first_label, layout.first_length);
  d->second_entry = attach_field(table, 1, layout.second_label, layout.second_length);
  gtk_box_pack_start(GTK_BOX(vbox), gtk_hseparator_new(), TRUE, FALSE, 0);
  GtkWidget* buttons = gtk_hbutton_box_new();
  gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_EDGE);
  gtk_box_pack_start(GTK_BOX(vbox), buttons, FALSE, FALSE, 0);
  d->ok_button = pack_dialog_button(buttons, kTextOk, G_CALLBACK(on_entry_dialog_ok), d);
  d->cancel_button = pack_dialog_button(buttons, kTextCancel, G_CALLBACK(close_dialog), d->window);
  d->help_button = pack_dialog_button(buttons, kTextHelp, G_CALLBACK(on_help_key_clicked),
                                      const_cast<char*>(layout.help_key));
  GTK_WIDGET_SET_FLAGS(d->ok_button, GTK_CAN_DEFAULT);
  gtk_widget_grab_default(d->ok_button);
  bind_key(d->window, d->cancel_button, GDK_Escape);
  bind_key(d->window, d->help_button, GDK_F1);
}

// Change mode shows the row's texts, whole: a text read from the file may be
// longer than the entry takes when typing. One whose bytes do not convert
// exactly is shown but cannot be edited, so that it is never written garbled.
void preset_entry(GtkWidget* entry, const std::string& value, std::string* shown) {
  CString utf8 = euc_to_utf8(value.c_str());
  gint length = static_cast<gint>(g_utf8_strlen(utf8.get(), -1));
  if (length > gtk_entry_get_max_length(GTK_ENTRY(entry)))
    gtk_entry_set_max_length(GTK_ENTRY(entry), length);
  gtk_entry_set_text(GTK_ENTRY(entry), utf8.get());
  gtk_editable_set_position(GTK_EDITABLE(entry), 0);
  *shown = utf8.get();
  gtk_editable_set_editable(GTK_EDITABLE(entry), value == utf8_to_euc(utf8.get()).get());
}

// The text of an entry as the file takes it: the row's own bytes while the
// entry still shows them, else the typed text in EUC-JP. 0, or 123 when the
// typed text holds a character EUC-JP cannot.
int entry_value(GtkWidget* entry, const std::string* row_value, const std::string& shown,
                std::string* value) {
  const gchar* text = gtk_entry_get_text(GTK_ENTRY(entry));
  if (row_value && shown == text) {
    *value = *row_value;
    return 0;
  }
  if (!euc_can_hold(text)) return kMessageUnwritableText;
  *value = utf8_to_euc(text).get();
  return 0;
}

// A text left as the row had it came from a file read, not from typing: it
// is not checked for what the file cannot hold.
bool typed(const std::string& text, const std::string* row_text) {
  return !row_text || text != *row_text;
}

int server_refusal(const AccessModel& model, const EntryTexts& t,
                   const std::optional<EntryTexts>& row) {
  const char* old_host = row ? row->host.c_str() : nullptr;
  const char* old_port = row ? row->second.c_str() : nullptr;
  if (t.host.empty()) return kMessageNoServerHost;
  if (!port_text_is_valid(t.second.c_str())) return kMessageBadPort;
  if (server_is_duplicate(model, t.host.c_str(), t.second.c_str(), old_host, old_port))
    return kMessageDuplicate;
  if (typed(t.host, row ? &row->host : nullptr) &&
      !host_text_is_valid(t.host.c_str(), HostOf::kServer))
    return kMessageBadHostOrUser;
  return 0;
}

// The user is checked again when the host changed: what a user may hold
// depends on whether the pair has a host.
int pair_refusal(const AccessModel& model, int slot, const EntryTexts& t,
                 const std::optional<EntryTexts>& row) {
  const char* old_host = row ? row->host.c_str() : nullptr;
  const char* old_user = row ? row->second.c_str() : nullptr;
  if (t.host.empty() && t.second.empty()) return kMessageNoHostOrUser;
  if (entry_is_duplicate(model, slot, t.host.c_str(), t.second.c_str(), old_host, old_user))
    return kMessageDuplicate;
  bool host_typed = typed(t.host, row ? &row->host : nullptr);
  bool user_typed = host_typed || typed(t.second, row ? &row->second : nullptr);
  if ((host_typed && !host_text_is_valid(t.host.c_str(), HostOf::kPair)) ||
      (user_typed && !user_text_is_valid(t.second.c_str(), t.host.c_str())))
    return kMessageBadHostOrUser;
  return 0;
}

// Runs a server or pair dialog over the main window, its record in the page
// meanwhile; row is the row changed (none when adding).
std::optional<EntryTexts> ask_entry_texts(MainWindow* main, const DialogLayout& layout,
                                          const std::optional<EntryTexts>& row,
                                          std::function<int(const EntryTexts&)> refusal) {
  std::unique_ptr<EntryDialog>& record = main->access_page->dialog;
  record.reset(new (std::nothrow) EntryDialog{});
  if (!record) out_of_memory();
  EntryDialog* d = record.get();
  d->row = row;
  d->refusal = std::move(refusal);
  block_main_window(main);
  build_entry_dialog(d, main, layout);
  if (row) {
    preset_entry(d->host_entry, row->host, &d->shown.host);
    preset_entry(d->second_entry, row->second, &d->shown.second);
  }
  gtk_widget_show_all(d->window);
  gtk_window_present(GTK_WINDOW(d->window));
  run_modal_loop(main);
  std::optional<EntryTexts> accepted = std::move(d->accepted);
  record.reset();
  return accepted;
}

}  // namespace

void on_server_add_clicked(GtkWidget*, MainWindow* main) {
  if (main->access_page->model.block_count >= MAX_ACCESS_BLOCKS) {
    show_message_number(kMessageTooManyServers);
    return;
  }
  if (std::optional<EntryTexts> texts = open_server_dialog(main, DialogMode::kAdd))
    add_server(*texts);
}

void on_server_change_clicked(GtkWidget*, MainWindow* main) {
  if (!list_has_selection(main->access_page->server_list)) return;
  if (std::optional<EntryTexts> texts = open_server_dialog(main, DialogMode::kChange))
    change_selected_server(*texts);
}

void on_user_add_clicked(GtkWidget*, MainWindow* main) {
  if (!list_has_selection(main->access_page->server_list)) return;
  if (main->access_page->model.entry_order_count[selected_server_slot()] >= MAX_BLOCK_ENTRIES) {
    show_message_number(kMessageTooManyUsers);
    return;
  }
  if (std::optional<EntryTexts> texts = open_user_dialog(main, DialogMode::kAdd)) add_pair(*texts);
}

void on_user_change_clicked(GtkWidget*, MainWindow* main) {
  if (!list_has_selection(main->access_page->server_list) ||
      !list_has_selection(main->access_page->user_list))
    return;
  if (std::optional<EntryTexts> texts = open_user_dialog(main, DialogMode::kChange))
    change_selected_pair(*texts);
}

std::optional<EntryTexts> open_server_dialog(MainWindow* main, DialogMode mode) {
  bool add = mode == DialogMode::kAdd;
  DialogLayout layout{
      add ? kTitleServerAdd : kTitleServerChange, kTextServerHostLabel, 255, kTextPortLabel, 5,
      add ? kHelpServerAdd : kHelpServerChange};
  std::optional<EntryTexts> row;
  if (!add) row = main->access_page->selected_server.texts;
  const AccessModel& model = main->access_page->model;
  return ask_entry_texts(main, layout, row, [&model, row](const EntryTexts& t) {
    return server_refusal(model, t, row);
  });
}

std::optional<EntryTexts> open_user_dialog(MainWindow* main, DialogMode mode) {
  bool add = mode == DialogMode::kAdd;
  DialogLayout layout{
      add ? kTitleUserAdd : kTitleUserChange, kTextEntryHostLabel, 255, kTextEntryUserLabel, 255,
      add ? kHelpUserAdd : kHelpUserChange};
  std::optional<EntryTexts> row;
  if (!add) row = main->access_page->selected_pair.texts;
  int slot = selected_server_slot();
  const AccessModel& model = main->access_page->model;
  return ask_entry_texts(main, layout, row, [&model, slot, row](const EntryTexts& t) {
    return pair_refusal(model, slot, t, row);
  });
}

void on_entry_dialog_ok(GtkWidget*, gpointer dialog) {
  auto* d = static_cast<EntryDialog*>(dialog);
  EntryTexts texts;
  int refusal =
      entry_value(d->host_entry, d->row ? &d->row->host : nullptr, d->shown.host, &texts.host);
  if (refusal == 0)
    refusal = entry_value(d->second_entry, d->row ? &d->row->second : nullptr, d->shown.second,
                          &texts.second);
  if (refusal == 0) refusal = d->refusal(texts);
  if (refusal != 0) {
    show_message_number(refusal);
    return;
  }
  d->accepted = texts;
  end_modal_loop(d->window);
}
