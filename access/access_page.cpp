// Placeholder until the page is built: an empty frame under its tab.
#include "access/access_page.h"

#include "access/access_model.h"
#include "access/texts.h"
#include "app/main_window.h"
#include "app/widgets.h"

AccessBlock access_blocks[MAX_ACCESS_BLOCKS];
int access_slot_count;
int access_block_count;
int entry_order_count[MAX_ACCESS_BLOCKS];
int entry_slot_count[MAX_ACCESS_BLOCKS];

AccessPage* access_page_record;

int build_access_page(MainWindow* main) {
  access_page_record = new AccessPage{};
  main->access_page = access_page_record;
  append_notebook_page(main->notebook, new_frame(nullptr, GTK_SHADOW_NONE, 5), kTextAccessTab);
  return 0;
}

void fill_server_list() {}
void clear_list(GtkWidget*) {}
int read_access_file(MainWindow*) { return -1; }
int save_access_file(MainWindow*, const char*, const char*) { return -1; }
