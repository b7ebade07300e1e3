#include "app/main_window.h"

#include <string>

#include "access/access_page.h"
#include "app/texts.h"
#include "common/catalogue.h"
#include "common/message_dialog.h"
#include "common/message_numbers.h"
#include "common/texts.h"
#include "common/widgets.h"
#include "filepages/file_pages.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"

namespace {

struct ButtonDef {
  const char* label;
  GCallback handler;
  bool swapped;
};

void build_button_row(MainWindow* main, GtkWidget* vbox) {
  GtkWidget* row = gtk_hbutton_box_new();
  gtk_box_pack_start(GTK_BOX(vbox), row, FALSE, FALSE, 0);
  gtk_container_set_border_width(GTK_CONTAINER(row), 5);
  gtk_button_box_set_layout(GTK_BUTTON_BOX(row), GTK_BUTTONBOX_EDGE);
  const ButtonDef buttons[] = {{kTextOk, G_CALLBACK(on_ok), false},
                               {kTextCancel, G_CALLBACK(gtk_main_quit), true},
                               {kTextApply, G_CALLBACK(apply_changes), false},
                               {kTextHelp, G_CALLBACK(on_help), false}};
  for (const auto& def : buttons) {
    GtkWidget* button = new_euc_button(def.label, 5);
    gtk_container_add(GTK_CONTAINER(row), button);
    if (def.swapped)
      g_signal_connect_swapped(button, "clicked", def.handler, main->window);
    else
      g_signal_connect(button, "clicked", def.handler, main);
    if (def.handler == G_CALLBACK(apply_changes)) main->apply_button = button;
  }
}

enum class Applied { kWritten, kKept, kFailed };

using SaveFunction = int (*)(MainWindow*, const char*, const char*, const SaveOptions&);

// Writes the standard file of a kind, keeping its previous version. When
// someone else wrote it since this program last read or wrote it, the user
// decides first; kKept when the user chose to leave it.
Applied apply_file(MainWindow* main, int kind, const char* dir, const char* name,
                   SaveFunction save) {
  std::string path = standard_file_path(kind);
  FileStamp& seen = standard_file_stamp(kind);
  if (stamp_file(path.c_str()) != seen) {
    std::string question = path + "\n" + message_text(kMessageChangedOutside);
    if (!ask_question(question.c_str(), kTextOverwrite, kTextCancel)) return Applied::kKept;
  }
  FileStamp written;
  if (save(main, dir, name, {Backup::kKeepPrevious, &written}) != 0) return Applied::kFailed;
  seen = written;
  return Applied::kWritten;
}

}  // namespace

int build_main_window(MainWindow* main) {
  main_window_record = main;
  main->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_signal_connect(main->window, "delete_event", G_CALLBACK(on_delete_event), nullptr);
  gtk_window_set_title(GTK_WINDOW(main->window), "TolqSysEnv_Server");
  GtkWidget* vbox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(main->window), vbox);
  main->notebook = gtk_notebook_new();
  gtk_box_pack_start(GTK_BOX(vbox), main->notebook, TRUE, TRUE, 0);
  if (build_convd_page(main) != 0 || build_access_page(main) != 0 || build_read_page(main) != 0 ||
      build_save_page(main) != 0)
    return -1;
  build_button_row(main, vbox);
  return 0;
}

void load_initial_file(MainWindow* main, int kind, int library_only) {
  if (kind == FILE_KIND_CONVDRC) load_convdrc(main, library_only);
  if (kind == FILE_KIND_TOLQHOSTS) load_tolqhosts(main);
}

void load_settings_files(MainWindow* main) {
  load_initial_file(main, FILE_KIND_CONVDRC, 0);
  load_initial_file(main, FILE_KIND_TOLQHOSTS, 0);
  // Filling the pages fired their "changed" signals; nothing is unsaved yet.
  gtk_widget_set_sensitive(main->apply_button, FALSE);
  convd_dirty = 0;
  hosts_dirty = 0;
}

int apply_changes(GtkWidget*, MainWindow* main) {
  std::string refusal;
  if (convd_dirty && !convd_texts_writable(main->convd_page.get(), &refusal)) {
    show_message(refusal.c_str());
    return -1;
  }
  bool kept = false;
  bool convd_written = false;
  if (convd_dirty) {
    char dir[kPathSize] = {};
    join_bounded(dir, etc_dir, lang_dir);
    Applied applied = apply_file(main, FILE_KIND_CONVDRC, dir, "convdrc", write_convdrc);
    if (applied == Applied::kFailed) {
      show_message_number(kMessageWriteFailed);
      return -1;
    }
    kept = applied == Applied::kKept;
    convd_written = !kept;
    if (convd_written) convd_dirty = 0;
  }
  if (hosts_dirty) {
    Applied applied = apply_file(main, FILE_KIND_TOLQHOSTS, etc_dir, "tolqhosts", save_access_file);
    if (applied == Applied::kFailed) {
      show_message_number(convd_written ? kMessageHostsFailedAfter : kMessageHostsFailed);
      return -1;
    }
    if (applied == Applied::kKept)
      kept = true;
    else
      hosts_dirty = 0;
  }
  // A file left as it was keeps its changes to apply.
  if (kept) return -1;
  gtk_widget_set_sensitive(main->apply_button, FALSE);
  return 0;
}

void on_ok(GtkWidget* widget, MainWindow* main) {
  if (apply_changes(widget, main) != 0) return;
  gtk_main_quit();
}

const char* help_key_for_page(int page) {
  static const char* const keys[] = {"SERVENV_CONVDRC", "SERVENV_TOLQHOSTS", "SERVENV_READ",
                                     "SERVENV_SAVE"};
  return page >= 0 && page < 4 ? keys[page] : nullptr;
}

void on_help(GtkWidget*, MainWindow* main) {
  const char* key = help_key_for_page(gtk_notebook_get_current_page(GTK_NOTEBOOK(main->notebook)));
  if (!key) return;
  char buffer[kLineSize] = {};
  copy_bounded(buffer, key);
  show_help(buffer);
}
