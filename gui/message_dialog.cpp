#include "gui/message_dialog.h"

#include <gdk/gdkkeysyms.h>

#include "common/catalogue.h"
#include "converter/converter.h"
#include "gui/state.h"
#include "gui/widgets.h"

namespace {

void close_message(GtkWidget*, gpointer dialog) {
  if (!GTK_IS_DIALOG(dialog)) return;
  gtk_grab_remove(GTK_WIDGET(dialog));
  gtk_widget_destroy(GTK_WIDGET(dialog));
}

// A dialog showing an EUC-JP text, without buttons yet.
GtkWidget* new_text_dialog(const char* text) {
  GtkWidget* dialog = gtk_dialog_new();
  GtkDialog* box = GTK_DIALOG(dialog);
  gtk_container_set_border_width(GTK_CONTAINER(box->vbox), 5);
  GtkWidget* label = gtk_label_new(euc_to_utf8(text).get());
  gtk_box_pack_start(GTK_BOX(box->vbox), label, TRUE, TRUE, 5);
  gtk_widget_show(label);
  set_dialog_parent(dialog, dialog_parent(), false);
  return dialog;
}

}  // namespace

GtkWidget* show_message(const char* text) {
  GtkWidget* dialog = new_text_dialog(text);
  GtkDialog* box = GTK_DIALOG(dialog);
  GtkWidget* ok = gtk_button_new_with_label(euc_to_utf8("\xa3\xcf\xa3\xcb").get());  // "ＯＫ"
  gtk_button_box_set_layout(GTK_BUTTON_BOX(box->action_area), GTK_BUTTONBOX_SPREAD);
  gtk_box_pack_start(GTK_BOX(box->action_area), ok, TRUE, TRUE, 5);
  g_signal_connect(ok, "clicked", G_CALLBACK(close_message), dialog);
  GTK_WIDGET_SET_FLAGS(ok, GTK_CAN_DEFAULT);
  gtk_widget_grab_default(ok);
  bind_key(dialog, ok, GDK_Escape);
  gtk_widget_show(ok);
  gtk_window_present(GTK_WINDOW(dialog));
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

bool ask_question(const char* text, const char* yes_label, const char* no_label) {
  GtkWidget* dialog = new_text_dialog(text);
  gtk_dialog_add_button(GTK_DIALOG(dialog), euc_to_utf8(yes_label).get(), GTK_RESPONSE_YES);
  GtkWidget* no =
      gtk_dialog_add_button(GTK_DIALOG(dialog), euc_to_utf8(no_label).get(), GTK_RESPONSE_NO);
  // The safe answer is the one Return gives: focus and default are on no.
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_NO);
  gtk_widget_grab_focus(no);
  bind_key(dialog, no, GDK_Escape);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_present(GTK_WINDOW(dialog));
  bool yes = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_YES;
  gtk_widget_destroy(dialog);
  return yes;
}
