// The help's own error window.
#include <gdk/gdkkeysyms.h>

#include "common/input_file.h"
#include "converter/converter.h"
#include "gui/widgets.h"
#include "help/help_window.h"
#include "help/texts.h"

namespace {

void end_help_error(GtkWidget* window, gpointer) {
  gtk_grab_remove(window);
  gtk_main_quit();
}

}  // namespace

void show_help_error(const char* text) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  set_dialog_parent(window, dialog_parent(), true);
  gtk_window_set_title(GTK_WINDOW(window), "onlinehelp error message");
  GtkWidget* vbox = gtk_vbox_new(FALSE, 0);
  gtk_container_set_border_width(GTK_CONTAINER(vbox), 5);
  gtk_container_add(GTK_CONTAINER(window), vbox);
  gtk_box_pack_start(GTK_BOX(vbox), gtk_label_new(text), TRUE, TRUE, 10);
  gtk_box_pack_start(GTK_BOX(vbox), gtk_hseparator_new(), FALSE, FALSE, 0);
  GtkWidget* buttons = gtk_hbutton_box_new();
  gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_SPREAD);
  gtk_box_pack_start(GTK_BOX(vbox), buttons, FALSE, FALSE, 0);
  GtkWidget* ok = gtk_button_new_with_label(euc_to_utf8(kTextHelpOk).get());
  gtk_container_set_border_width(GTK_CONTAINER(ok), 5);
  gtk_container_add(GTK_CONTAINER(buttons), ok);
  // OK and a close request from the window manager both end in "destroy",
  // which ends the nested loop exactly once.
  g_signal_connect_swapped(ok, "clicked", G_CALLBACK(gtk_widget_destroy), window);
  g_signal_connect(window, "destroy", G_CALLBACK(end_help_error), nullptr);
  bind_key(window, ok, GDK_Escape);
  gtk_widget_show_all(window);
  gtk_window_present(GTK_WINDOW(window));
  gtk_grab_add(window);
  gtk_main();
}

void report_help_error(const char* euc_text) {
  show_help_error(euc_to_utf8(euc_text).get());
}
