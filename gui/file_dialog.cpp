#include "gui/file_dialog.h"

#include <gdk/gdkkeysyms.h>

#include <cstring>

#include "common/message_numbers.h"
#include "converter/converter.h"
#include "gui/message_dialog.h"
#include "gui/widgets.h"

namespace {

// A file selection while it runs, and what its ＯＫ accepted.
struct RunningQuestion {
  const FileQuestion* question;
  GtkWidget* dialog;
  std::optional<std::string> accepted;
};

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

// The chosen path in EUC-JP; false, with the message shown, when it cannot be used.
bool chosen_file(GtkFileSelection* selection, std::string* euc) {
  int refusal = 0;
  if (!euc_from_file_name(gtk_file_selection_get_filename(selection), euc))
    refusal = kMessageUnwritableText;
  else if (euc->size() > kPathSize - 1)
    refusal = kMessagePathTooLong;
  if (refusal != 0) show_message_number(refusal);
  return refusal == 0;
}

// The selection goes to the directory of path and puts its name into the
// name field. Where that directory does not exist it stays where it was,
// and ＯＫ would name a file there: the name field then holds the whole path,
// so that ＯＫ gives back exactly the path it started at.
void start_at(GtkFileSelection* selection, const std::string& path) {
  gtk_file_selection_set_filename(selection, path.c_str());
  if (path.empty() || path[0] != '/' || path == gtk_file_selection_get_filename(selection)) return;
  gchar* utf8 = g_filename_to_utf8(path.c_str(), -1, nullptr, nullptr, nullptr);
  if (utf8) gtk_entry_set_text(GTK_ENTRY(selection->selection_entry), utf8);
  g_free(utf8);
}

// True when the selection names a directory: nothing typed in the name field,
// or a whole path there that ends with '/'.
bool names_no_file(GtkFileSelection* selection) {
  const gchar* typed = gtk_entry_get_text(GTK_ENTRY(selection->selection_entry));
  size_t length = typed ? strlen(typed) : 0;
  return length == 0 || typed[length - 1] == '/';
}

}  // namespace

std::optional<std::string> ask_file(MainWindow* main, const FileQuestion& question) {
  block_main_window(main);
  GtkWidget* dialog = gtk_file_selection_new(question.title);
  GtkFileSelection* selection = GTK_FILE_SELECTION(dialog);
  RunningQuestion running{&question, dialog, std::nullopt};
  g_signal_connect(dialog, "delete_event", G_CALLBACK(on_delete_event), nullptr);
  g_signal_connect(selection->ok_button, "clicked", G_CALLBACK(on_file_dialog_ok), &running);
  g_signal_connect(selection->cancel_button, "clicked", G_CALLBACK(close_dialog), dialog);
  bind_key(dialog, selection->cancel_button, GDK_Escape);
  if (question.help)
    bind_key_handler(dialog, GDK_F1, question.help, const_cast<char*>(question.help_key));
  gtk_file_selection_hide_fileop_buttons(selection);
  if (question.directories_only) gtk_widget_set_sensitive(selection->file_list, FALSE);
  set_dialog_parent(dialog, GTK_WINDOW(main->window), true);
  start_at(selection, file_name_from_euc(question.initial_path.c_str()));
  gtk_window_present(GTK_WINDOW(dialog));
  run_modal_loop(main);
  return running.accepted;
}

void on_file_dialog_ok(GtkWidget*, gpointer data) {
  auto* running = static_cast<RunningQuestion*>(data);
  GtkFileSelection* selection = GTK_FILE_SELECTION(running->dialog);
  if (running->question->file_required && names_no_file(selection)) {
    end_modal_loop(running->dialog);
    return;
  }
  std::string chosen;
  if (!chosen_file(selection, &chosen)) return;
  if (running->question->accept && !running->question->accept(chosen)) return;
  running->accepted = chosen;
  end_modal_loop(running->dialog);
}
