// The toolkit's file selection as the program uses it: modal over the main
// window, with names kept in EUC-JP, the program's code set.
#ifndef TOLQ_GUI_FILE_DIALOG_H
#define TOLQ_GUI_FILE_DIALOG_H

#include <gtk/gtk.h>

#include <functional>
#include <optional>
#include <string>

#include "gui/state.h"

// What a file selection asks for.
struct FileQuestion {
  const char* title = nullptr;
  std::string initial_path;  // EUC-JP; the selection starts exactly there
  bool directories_only = false;
  // ＯＫ on a directory (nothing in the name field) ends the dialog without a
  // choice: the caller wants a file.
  bool file_required = false;
  // F1 calls help(nullptr, help_key), as a ヘルプ button's "clicked" would.
  GCallback help = nullptr;
  const char* help_key = nullptr;
  // Judges the chosen path (EUC-JP) at ＯＫ: false, after showing why, keeps
  // the dialog open. None accepts every path.
  std::function<bool(const std::string&)> accept;
};

// Makes the main window insensitive, runs a modal file selection and returns
// the path accepted with ＯＫ (EUC-JP), or none after キャンセル, Esc or a close
// request. A chosen name that has no EUC-JP form, which a settings file could
// not hold (123), or that is longer than a path may be (122), is refused.
std::optional<std::string> ask_file(MainWindow* main, const FileQuestion& question);

// "clicked" of the selection's ＯＫ; data is the running question.
void on_file_dialog_ok(GtkWidget* button, gpointer data);

#endif
