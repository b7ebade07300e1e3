// The main window: its notebook of pages, its button row and their handlers.
// The top of the program: it assembles the pages, which know nothing of it.
#ifndef TOLQ_APP_MAIN_WINDOW_H
#define TOLQ_APP_MAIN_WINDOW_H

#include <gtk/gtk.h>

#include "gui/state.h"

// Builds the window, its four pages and the button row, and makes it the
// record of the run; -1 when a page builder failed.
int build_main_window(MainWindow* main);
// Fills a page from its settings file as start-up does.
void load_initial_file(MainWindow* main, FileKind kind);
// Start-up after the window is built: loads both files and clears the dirty state.
void load_settings_files(MainWindow* main);
// Shows the window at its first page. The other pages' contents are shown
// when their tab is first chosen; until then the toolkit neither measures nor
// lays out their texts, which is most of what showing them costs. Contents
// that a page builder deferred are built then too.
void show_main_window(MainWindow* main);
// Builds and shows the contents of a notebook page that show_main_window
// held back or its builder deferred (also called for the page a tab switch
// goes to).
void show_page_contents(GtkWidget* notebook, int page);

int apply_changes(GtkWidget* widget, MainWindow* main);
void on_ok(GtkWidget* widget, MainWindow* main);
// キャンセル, and a close request of the main window: the run ends without
// writing, after asking when changes are not applied yet.
void on_cancel(GtkWidget* widget, MainWindow* main);
// data is the MainWindow.
gboolean on_main_window_delete(GtkWidget* widget, GdkEvent* event, gpointer data);
void on_help(GtkWidget* widget, MainWindow* main);

#endif
