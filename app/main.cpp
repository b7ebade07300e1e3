// tolqsysenv_server: edits the conversion server's convdrc and tolqhosts.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/main_window.h"
#include "app/options.h"
#include "app/texts.h"
#include "common/catalogue.h"
#include "common/file_lock.h"
#include "common/message_dialog.h"
#include "common/message_numbers.h"
#include "common/state.h"
#include "common/temp_file.h"
#include "converter/converter.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"

namespace {

// Ends start-up after a fatal error, once the user has read the message.
[[noreturn]] void fail_start(int number) {
  show_message_and_wait(message_text(number));
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
  static char lang[] = "LANG=ja_JP.UTF-8";
  putenv(lang);
  gtk_set_locale();
  gtk_init(&argc, &argv);
  set_out_of_memory_notice(show_message_and_wait);

  if (load_message_catalogue(kMessageFileName) != 0) show_message(kTextMessageFileFailed);
  if (!real_user_is_root()) fail_start(kMessageNotRoot);
  load_help_file("tolqsysenv_server.hlp");

  // Lives as long as the process.
  static std::unique_ptr<MainWindow> main_window(new (std::nothrow) MainWindow{});
  if (!main_window) out_of_memory();
  // Both files clean and not read yet, and the directory strings formed.
  reset_program_state();
  // What a run killed mid-save left behind goes now.
  for (FileKind kind : {FILE_KIND_CONVDRC, FILE_KIND_TOLQHOSTS})
    clear_stale_lock(standard_file_path(kind).c_str());
  if (build_main_window(main_window.get()) != 0) exit(-1);
  load_settings_files(main_window.get());
  show_main_window(main_window.get());

  gtk_main();
  close_converter();
  return 0;
}
