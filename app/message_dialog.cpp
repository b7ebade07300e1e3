#include "app/message_dialog.h"

#include "app/catalogue.h"
#include "app/converter.h"

namespace {

void close_message(GtkWidget*, gpointer dialog) {
  if (!GTK_IS_DIALOG(dialog)) return;
  gtk_grab_remove(GTK_WIDGET(dialog));
  gtk_widget_destroy(GTK_WIDGET(dialog));
}

}  // namespace

GtkWidget* show_message(const char* text) {
  GtkWidget* dialog = gtk_dialog_new();
  GtkDialog* box = GTK_DIALOG(dialog);
  gtk_container_set_border_width(GTK_CONTAINER(box->vbox), 5);
  GtkWidget* label = gtk_label_new(euc_to_utf8(text).get());
  gtk_box_pack_start(GTK_BOX(box->vbox), label, TRUE, TRUE, 5);
  gtk_widget_show(label);
  GtkWidget* ok = gtk_button_new_with_label(euc_to_utf8("\xa3\xcf\xa3\xcb").get());  // "ＯＫ"
  gtk_button_box_set_layout(GTK_BUTTON_BOX(box->action_area), GTK_BUTTONBOX_SPREAD);
  gtk_box_pack_start(GTK_BOX(box->action_area), ok, TRUE, TRUE, 5);
  g_signal_connect(ok, "clicked", G_CALLBACK(close_message), dialog);
  gtk_widget_show(ok);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_widget_show(dialog);
  gtk_grab_add(dialog);
  return dialog;
}

GtkWidget* show_message_number(int number) {
  return show_message(message_text(number));
}

void show_message_and_wait(const char* text) {
  GtkWidget* dialog = show_message(text);
  g_signal_connect(dialog, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_main();
}
