// Placeholder until the dialogs are built.
#include "serverrc/dict_dialogs.h"

void on_dict_add(GtkWidget*, MainWindow*) {}
void on_dict_change(GtkWidget*, MainWindow*) {}
void on_dir_refer(GtkWidget*, MainWindow*) {}
void open_browse_dialog(GtkWidget*, MainWindow*) {}
