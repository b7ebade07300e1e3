// The yardsticks for the start-up benchmark: a GTK+ 2 program that maps one
// window, empty, or with --label showing one line of Japanese text (which
// makes it load the fonts as every program with text must), or with --form a
// Japanese label above an entry, set up in the locale the program runs in, so
// that the CJK fonts and the locale's input method load as in any Japanese
// form.
#include <gtk/gtk.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  bool label = argc > 1 && strcmp(argv[1], "--label") == 0;
  bool form = argc > 1 && strcmp(argv[1], "--form") == 0;
  if (label || form) {
    static char lang[] = "LANG=ja_JP.UTF-8";
    putenv(lang);
    gtk_set_locale();
  }
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "minimal_window");
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  const char* text = "\xe8\xa8\xad\xe5\xae\x9a";  // 設定
  if (label) gtk_container_add(GTK_CONTAINER(window), gtk_label_new(text));
  if (form) {
    GtkWidget* box = gtk_vbox_new(FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    gtk_box_pack_start(GTK_BOX(box), gtk_label_new(text), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), gtk_entry_new(), FALSE, FALSE, 0);
  }
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
