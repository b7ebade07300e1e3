// Small widget helpers shared by the main window, the pages and the dialogs.
#ifndef TOLQ_GUI_WIDGETS_H
#define TOLQ_GUI_WIDGETS_H

#include <gtk/gtk.h>

#include <functional>

struct MainWindow;

// A button with a UTF-8 label and the given border width.
GtkWidget* new_button(const char* label, guint border);
// A button labelled with an EUC-JP text.
GtkWidget* new_euc_button(const char* label, guint border);
// A label showing an EUC-JP text.
GtkWidget* new_euc_label(const char* text);
// A frame with a UTF-8 title (none when null), a shadow type and a border width.
GtkWidget* new_frame(const char* title, GtkShadowType shadow, guint border);
// A frame titled with an EUC-JP text.
GtkWidget* new_euc_frame(const char* title, GtkShadowType shadow, guint border);
// A scrolled window with border 5 and both scroll bars always shown, holding list.
GtkWidget* new_list_scroller(GtkWidget* list);
// Appends a page to the notebook under an EUC-JP tab label; ヘルプ on it
// opens the topic help_key.
void append_notebook_page(GtkWidget* notebook, GtkWidget* page, const char* tab_label,
                          const char* help_key);
// The help topic of a notebook page; null for none.
const char* page_help_key(GtkWidget* page);
// Leaves the building of a notebook page's contents to fill_deferred_page.
void defer_page_contents(GtkWidget* page, std::function<void()> fill);
// Builds and shows the contents deferred for page, the first time only.
void fill_deferred_page(GtkWidget* page);

// "clicked" of a modal sub-window's Cancel: destroys the window and ends its loop.
void close_dialog(GtkWidget* button, gpointer dialog);
// "delete_event" of the main window and the modal sub-windows: a sensitive
// window closes and ends its loop; an insensitive one stays.
gboolean on_delete_event(GtkWidget* widget, GdkEvent* event, gpointer data);

// The window a new dialog opens over: the window holding the input grab (an
// entry dialog, when a message is shown from it), else the main window; null
// before the main window exists.
GtkWindow* dialog_parent();
// Makes window a dialog of parent (null: of no window): transient for it, of
// the dialog type and centred on it, so that a window manager keeps it in
// front of the window it belongs to; modal when asked. Before it is shown.
void set_dialog_parent(GtkWidget* window, GtkWindow* parent, bool modal);
// Makes the main window insensitive while a modal sub-window is open,
// remembering which of its widgets had the keyboard focus.
void block_main_window(MainWindow* main);
// Runs a modal sub-window's nested loop, then gives the main window its
// sensitivity and the keyboard focus back, to the widget that had it. The
// sub-window ends the loop through close_dialog, on_delete_event or
// end_modal_loop.
void run_modal_loop(MainWindow* main);
// Destroys a modal sub-window and ends its nested loop (OK handlers).
void end_modal_loop(GtkWidget* window);

// Makes keyval, pressed without modifiers anywhere in window, click button:
// the key and the button then do one and the same thing.
void bind_key(GtkWidget* window, GtkWidget* button, guint keyval);
// Makes keyval in window call handler(nullptr, data), as "clicked" would,
// for a window without a button of its own for it.
void bind_key_handler(GtkWidget* window, guint keyval, GCallback handler, gpointer data);
// Clicks button, unless it (or a window around it) is insensitive.
void press_button(GtkWidget* button);

// The accessible name of a field: the label's text without its blanks and
// colon. Also sets the label relation both ways, so that assistive tools
// read the field by its label.
void label_field(GtkWidget* label, GtkWidget* field);
// Names a widget that has no label of its own (UTF-8).
void name_widget(GtkWidget* widget, const char* name);
// Says what a button acts on, for buttons of the same label beside
// different lists or fields (EUC-JP).
void describe_button(GtkWidget* button, const char* description);

// An editing list: a double click on a row and Enter act as change, Delete
// as remove (on the selected row; with none selected, on the row with the
// keyboard focus, which becomes the selection). Its column titles are no
// buttons: they neither sort nor take the keyboard focus.
void connect_list_actions(GtkWidget* list, GtkWidget* change_button, GtkWidget* remove_button);

#endif
