// Runs the widget tests on a display, with the freshly built converter and messages.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "app/catalogue.h"
#include "app/converter.h"
#include "app/state.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  load_converter(TOLQ_TEST_CONVERTER);
  setenv("LANG", "ja_JP.UTF-8", 1);
  gtk_set_locale();
  if (!gtk_init_check(&argc, &argv)) {
    fprintf(stderr, "widget tests: skipped: no display\n");
    return 77;
  }
  load_message_catalogue(TOLQ_TEST_DATA_DIR "/tolqsysenv_server.msg");
  form_directory_strings();
  return RUN_ALL_TESTS();
}
