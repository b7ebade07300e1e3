#include "common/widgets.h"

#include "common/state.h"
#include "converter/converter.h"

GtkWidget* new_button(const char* label, int border) {
  GtkWidget* button = gtk_button_new_with_label(label);
  gtk_container_set_border_width(GTK_CONTAINER(button), border);
  return button;
}

GtkWidget* new_euc_button(const char* label, int border) {
  return new_button(euc_to_utf8(label).get(), border);
}

GtkWidget* new_euc_label(const char* text) {
  return gtk_label_new(euc_to_utf8(text).get());
}

GtkWidget* new_frame(const char* title, GtkShadowType shadow, int border) {
  GtkWidget* frame = gtk_frame_new(title);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), shadow);
  gtk_container_set_border_width(GTK_CONTAINER(frame), border);
  return frame;
}

GtkWidget* new_euc_frame(const char* title, GtkShadowType shadow, int border) {
  return new_frame(euc_to_utf8(title).get(), shadow, border);
}

GtkWidget* new_list_scroller(GtkWidget* list) {
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_container_set_border_width(GTK_CONTAINER(scrolled), 5);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_ALWAYS,
                                 GTK_POLICY_ALWAYS);
  gtk_container_add(GTK_CONTAINER(scrolled), list);
  return scrolled;
}

void append_notebook_page(GtkWidget* notebook, GtkWidget* page, const char* tab_label) {
  gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, new_euc_label(tab_label));
}

void close_dialog(GtkWidget*, gpointer dialog) {
  end_modal_loop(GTK_WIDGET(dialog));
}

gboolean on_delete_event(GtkWidget* widget, GdkEvent*, gpointer) {
  if (!GTK_WIDGET_SENSITIVE(widget)) return TRUE;
  gtk_main_quit();
  return FALSE;
}

void place_beside_main(GtkWidget* window, MainWindow* main, int dx, int dy) {
  gint x = 0, y = 0;
  if (main && main->window && main->window->window)
    gdk_window_get_root_origin(main->window->window, &x, &y);
  gtk_widget_set_uposition(window, x + dx, y + dy);
}

void run_modal_loop(MainWindow* main) {
  gtk_main();
  if (main && main->window) gtk_widget_set_sensitive(main->window, TRUE);
}

void end_modal_loop(GtkWidget* window) {
  gtk_widget_destroy(window);
  gtk_main_quit();
}
