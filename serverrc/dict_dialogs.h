// The file selections of the server settings page and of the read and save pages.
#ifndef TOLQ_SERVERRC_DICT_DIALOGS_H
#define TOLQ_SERVERRC_DICT_DIALOGS_H

#include <gtk/gtk.h>

struct MainWindow;

void on_dict_add(GtkWidget* button, MainWindow* main);
void on_dict_change(GtkWidget* button, MainWindow* main);
void on_dir_refer(GtkWidget* button, MainWindow* main);
// "clicked" of the read and save pages' browse buttons: fills the path entry of
// the page named by browse_target.
void open_browse_dialog(GtkWidget* button, MainWindow* main);

#endif
