// Small widget helpers shared by the main window, the pages and the dialogs.
#ifndef TOLQ_APP_WIDGETS_H
#define TOLQ_APP_WIDGETS_H

#include <gtk/gtk.h>

struct MainWindow;

// A button with a UTF-8 label and the given border width.
GtkWidget* new_button(const char* label, int border);
// A button labelled with an EUC-JP text.
GtkWidget* new_euc_button(const char* label, int border);
// A label showing an EUC-JP text.
GtkWidget* new_euc_label(const char* text);
// A frame with a UTF-8 title (none when null), a shadow type and a border width.
GtkWidget* new_frame(const char* title, GtkShadowType shadow, int border);
// A frame titled with an EUC-JP text.
GtkWidget* new_euc_frame(const char* title, GtkShadowType shadow, int border);
// A scrolled window with border 5 and both scroll bars always shown, holding list.
GtkWidget* new_list_scroller(GtkWidget* list);
// Appends a page to the notebook under an EUC-JP tab label.
void append_notebook_page(GtkWidget* notebook, GtkWidget* page, const char* tab_label);

// "clicked" of a modal sub-window's Cancel: destroys the window and ends its loop.
void close_dialog(GtkWidget* button, gpointer dialog);
// "delete_event" of the main window and the modal sub-windows: a sensitive
// window closes and ends its loop; an insensitive one stays.
gboolean on_delete_event(GtkWidget* widget, GdkEvent* event, gpointer data);

// Places a window at the main window's root origin moved by dx, dy.
void place_beside_main(GtkWidget* window, MainWindow* main, int dx, int dy);
// Runs a modal sub-window's nested loop, then makes the main window sensitive
// again. The sub-window ends the loop through close_dialog, on_delete_event or
// an OK handler that calls end_modal_loop.
void run_modal_loop(MainWindow* main);
// Destroys a modal sub-window and ends its nested loop (OK handlers).
void end_modal_loop(GtkWidget* window);

#endif
