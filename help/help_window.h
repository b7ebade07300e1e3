// The online help window.
#ifndef TOLQ_HELP_HELP_WINDOW_H
#define TOLQ_HELP_HELP_WINDOW_H

#include <gtk/gtk.h>

// Reads the help file at start-up; reports a missing or malformed file in the
// help error window. 0 or -1.
int load_help_file(const char* name);
// Shows the topic with that key in the help window; 0, or -1 when there is none.
int show_help(const char* key);
// "clicked" of a dialog's Help button; data is the topic key.
void on_help_key_clicked(GtkWidget* button, gpointer key);

#endif
