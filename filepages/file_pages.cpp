// Placeholder until the pages are built: empty frames under their tabs.
#include "filepages/file_pages.h"

#include "app/main_window.h"
#include "app/widgets.h"
#include "filepages/texts.h"

FilePage* read_page_record;
FilePage* save_page_record;

int build_read_page(MainWindow* main) {
  read_page_record = new FilePage{};
  main->read_page = read_page_record;
  append_notebook_page(main->notebook, new_frame(nullptr, GTK_SHADOW_NONE, 5), kTextReadTab);
  return 0;
}

int build_save_page(MainWindow* main) {
  save_page_record = new FilePage{};
  main->save_page = save_page_record;
  append_notebook_page(main->notebook, new_frame(nullptr, GTK_SHADOW_NONE, 5), kTextSaveTab);
  return 0;
}
