// The toolkit's file selection as the program uses it: modal over the main
// window, with names kept in EUC-JP, the program's code set.
#ifndef TOLQ_COMMON_FILE_DIALOG_H
#define TOLQ_COMMON_FILE_DIALOG_H

#include <gtk/gtk.h>

#include <string>

#include "common/state.h"

// Makes the main window insensitive, shows a modal file selection at
// initial_path (EUC-JP) and returns when it has ended: OK without error
// (ok_handler gets the selection as data and ends it with end_modal_loop),
// Cancel or a close request.
void run_file_dialog(MainWindow* main, const char* title, const std::string& initial_path,
                     GCallback ok_handler, bool directories_only);
// The chosen path in EUC-JP; false, with the message shown, when its name has
// no EUC-JP form, which a settings file could not hold (123), or it is longer
// than a path may be (122).
bool chosen_file(gpointer dialog, std::string* euc);
// True when nothing is typed in the selection's name field.
bool name_field_empty(gpointer dialog);

#endif
