// Placeholder until the help subsystem is built: no help is available.
#include "help/help_window.h"

int load_help_file(const char*) { return -1; }
int show_help(const char*) { return -1; }
void on_help_key_clicked(GtkWidget*, gpointer key) {
  if (key) show_help(static_cast<const char*>(key));
}
