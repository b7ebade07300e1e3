#include "common/file_dialog.h"

#include "common/message_dialog.h"
#include "common/message_numbers.h"
#include "common/widgets.h"
#include "converter/converter.h"

namespace {

// File names come from and go to the toolkit in the file-name encoding; the
// program keeps them in EUC-JP. False when the name has no EUC-JP form.
bool euc_from_file_name(const gchar* file_name, std::string* euc) {
  gchar* utf8 = g_filename_to_utf8(file_name, -1, nullptr, nullptr, nullptr);
  bool exact = utf8 && euc_can_hold(utf8);
  *euc = utf8_to_euc(utf8 ? utf8 : file_name).get();
  g_free(utf8);
  return exact;
}

std::string file_name_from_euc(const char* euc) {
  CString utf8 = euc_to_utf8(euc);
  gchar* name = g_filename_from_utf8(utf8.get(), -1, nullptr, nullptr, nullptr);
  std::string result = name ? name : utf8.get();
  g_free(name);
  return result;
}

GtkFileSelection* selection_of(gpointer dialog) {
  return GTK_FILE_SELECTION(dialog);
}

}  // namespace

void run_file_dialog(MainWindow* main, const char* title, const std::string& initial_path,
                     GCallback ok_handler, bool directories_only) {
  gtk_widget_set_sensitive(main->window, FALSE);
  GtkWidget* dialog = gtk_file_selection_new(title);
  GtkFileSelection* selection = selection_of(dialog);
  g_signal_connect(dialog, "delete_event", G_CALLBACK(on_delete_event), nullptr);
  g_signal_connect(selection->ok_button, "clicked", ok_handler, dialog);
  g_signal_connect(selection->cancel_button, "clicked", G_CALLBACK(close_dialog), dialog);
  gtk_file_selection_hide_fileop_buttons(selection);
  if (directories_only) gtk_widget_set_sensitive(selection->file_list, FALSE);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_transient_for(GTK_WINDOW(dialog), GTK_WINDOW(main->window));
  place_beside_main(dialog, main, 40, 40);
  gtk_file_selection_set_filename(selection, file_name_from_euc(initial_path.c_str()).c_str());
  gtk_widget_show(dialog);
  run_modal_loop(main);
}

bool chosen_file(gpointer dialog, std::string* euc) {
  int refusal = 0;
  if (!euc_from_file_name(gtk_file_selection_get_filename(selection_of(dialog)), euc))
    refusal = kMessageUnwritableText;
  else if (euc->size() > kPathSize - 1)
    refusal = kMessagePathTooLong;
  if (refusal != 0) show_message_number(refusal);
  return refusal == 0;
}

bool name_field_empty(gpointer dialog) {
  const gchar* typed = gtk_entry_get_text(GTK_ENTRY(selection_of(dialog)->selection_entry));
  return !typed || typed[0] == '\0';
}
