// tolqsysenv_server: edits the conversion server's convdrc and tolqhosts.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/main_window.h"
#include "app/texts.h"
#include "banner/banner.h"
#include "common/catalogue.h"
#include "common/file_lock.h"
#include "common/message_numbers.h"
#include "common/options.h"
#include "common/temp_file.h"
#include "converter/converter.h"
#include "gui/message_dialog.h"
#include "gui/state.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"

namespace {

// Ends start-up after a fatal error, once the user has read the message.
[[noreturn]] void fail_start(const MessageCatalogue* catalogue, int number) {
  show_message_and_wait(message_text(catalogue, number, nullptr));
  exit(-1);
}

}  // namespace

int main(int argc, char** argv) {
  install_temp_file_cleanup();
  load_converter();
  switch (scan_command_line(argc, argv)) {
    case StartMode::kVersion:
      print_version_banner(terminal_code_set(), argv[0], VERSION_MAJOR, VERSION_MINOR);
      exit(1);
    case StartMode::kUsage:
      print_usage(argv[0]);
      exit(1);
    case StartMode::kRun:
      break;
  }
  setenv("LANG", "ja_JP.UTF-8", 1);
  gtk_set_locale();
  gtk_init(&argc, &argv);

  std::unique_ptr<MessageCatalogue> catalogue;
  if (load_message_catalogue(kMessageFileName, &catalogue) != 0)
    show_message(kTextMessageFileFailed);
  set_out_of_memory_notice(catalogue.get(), show_message_and_wait);
  Places places;
  if (!real_user_is_root(&places)) fail_start(catalogue.get(), kMessageNotRoot);

  // Lives as long as the run.
  std::unique_ptr<MainWindow> main_window(new (std::nothrow) MainWindow{});
  if (!main_window) out_of_memory();
  main_window->catalogue = std::move(catalogue);
  main_window->places = places;
  form_directory_strings(&main_window->places);
  main_window->help.reset(new (std::nothrow) Help{});
  if (!main_window->help) out_of_memory();
  load_help_file(main_window->help.get(), "tolqsysenv_server.hlp");
  // What a run killed mid-save left behind goes now.
  for (FileKind kind : {FILE_KIND_CONVDRC, FILE_KIND_TOLQHOSTS})
    clear_stale_lock(standard_file_path(main_window->places, kind).c_str());
  if (build_main_window(main_window.get()) != 0) exit(-1);
  load_settings_files(main_window.get());
  show_main_window(main_window.get());

  gtk_main();
  close_converter();
  return 0;
}
