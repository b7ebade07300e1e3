// The online help window.
#ifndef TOLQ_HELP_HELP_WINDOW_H
#define TOLQ_HELP_HELP_WINDOW_H

#include <gtk/gtk.h>

#include "help/help_loader.h"

// The topic keys of the pages and of the entry dialogs.
inline constexpr const char* kHelpConvdrc = "SERVENV_CONVDRC";
inline constexpr const char* kHelpTolqhosts = "SERVENV_TOLQHOSTS";
inline constexpr const char* kHelpRead = "SERVENV_READ";
inline constexpr const char* kHelpSave = "SERVENV_SAVE";
inline constexpr const char* kHelpServerAdd = "SERVENV_ADDACS_SERVER";
inline constexpr const char* kHelpServerChange = "SERVENV_CHGACS_SERVER";
inline constexpr const char* kHelpUserAdd = "SERVENV_ADDACS_USER";
inline constexpr const char* kHelpUserChange = "SERVENV_CHGACS_USER";

// Built on the first request and kept; the panes and the button box are made
// again whenever the view changes. It belongs to the main window (in front
// of it) but has a window group of its own, so that it stays usable while a
// modal dialog, whose ヘルプ opened it, holds the input. Esc hides it.
struct HelpWindow {
  GtkWidget* window = nullptr;  // null until the first request
  GtkWidget* text_view = nullptr;
  GtkWidget* heading_label = nullptr;
  GtkWidget* title_entry = nullptr;
  GtkWidget* text_scroller = nullptr;
  GtkWidget* contents_scroller = nullptr;
  GtkWidget* contents_paned = nullptr;
  GtkWidget* contents_list = nullptr;
  GtkWidget* vbox = nullptr;
  GtkWidget* button_box = nullptr;
  GtkWidget* contents_toggle = nullptr;
  GtkWidget* cancel_button = nullptr;
};

// The help of the run, held by the main window: the help file read at
// start-up, the window, and the topic the window shows.
struct Help {
  HelpFile file;
  HelpWindow window;
  const HelpTopic* current_topic = nullptr;
  int current_row = 0;  // the current topic's place in file order
};

// Reads the help file at start-up into help; reports a missing or malformed
// file in the help error window. No topic is current afterwards. 0 or -1.
int load_help_file(Help* help, const char* name);
// load_help_file for a help file at any path.
int load_help_file_at(Help* help, const char* path);
// The help error window with a UTF-8 text; returns once the user has closed
// it (ＯＫ, Return or Esc).
void show_help_error(const char* text);
// show_help_error with an EUC-JP text.
void report_help_error(const char* euc_text);

// Shows the topic with that key in the help window; 0, or -1 when there is none
// (or no help).
int show_help(Help* help, const char* key);
// "clicked" of a dialog's Help button; data is the topic key. The help is the
// main window's.
void on_help_key_clicked(GtkWidget* button, gpointer key);

void show_help_topic(Help* help);
void build_text_pane(HelpWindow* w);
void build_help_buttons(Help* help);
void build_single_view(Help* help);

// The help window's own handlers; data is the Help.
gboolean on_help_delete(GtkWidget* widget, GdkEvent* event, gpointer data);
void on_help_cancel(GtkWidget* button, gpointer data);
void on_contents_toggled(GtkToggleButton* toggle, gpointer data);
gboolean on_title_entry_focus_in(GtkWidget* entry, GdkEventFocus* event, gpointer data);
void on_contents_select_row(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
gboolean on_contents_key_press(GtkWidget* list, GdkEventKey* event, gpointer data);

#endif
