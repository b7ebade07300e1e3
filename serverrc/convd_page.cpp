// Placeholder until the page is built: an empty frame under its tab.
#include "serverrc/convd_page.h"

#include "app/main_window.h"
#include "app/widgets.h"
#include "serverrc/texts.h"

ConvdPage* main_convd_page;
int dict_column_width;

int build_convd_page(MainWindow* main) {
  main_convd_page = new ConvdPage{};
  main->convd_page = main_convd_page;
  main_convd_page->dict_list = gtk_clist_new(1);
  append_notebook_page(main->notebook, new_frame(nullptr, GTK_SHADOW_NONE, 5), kTextConvdTab);
  return 0;
}

void fit_list_column(GtkWidget*, int) {}
void rewind_convd_fields(MainWindow*) {}
int read_convdrc(MainWindow*) { return -1; }
void set_convd_defaults(MainWindow*) {}
int write_convdrc(MainWindow*, const char*, const char*) { return -1; }
