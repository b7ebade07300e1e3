// The yardsticks for the start-up benchmark: a GTK+ 2 program that maps one
// window, empty or (with --label) showing one line of Japanese text, which
// makes it load the fonts as every program with text must.
#include <gtk/gtk.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  bool label = argc > 1 && strcmp(argv[1], "--label") == 0;
  if (label) {
    setenv("LANG", "ja_JP.UTF-8", 1);
    gtk_set_locale();
  }
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "minimal_window");
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  if (label) gtk_container_add(GTK_CONTAINER(window), gtk_label_new("\xe8\xa8\xad\xe5\xae\x9a"));
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
