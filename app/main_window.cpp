#include "app/main_window.h"

#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <string>
#include <vector>

#include "access/access_page.h"
#include "app/review_window.h"
#include "app/texts.h"
#include "common/catalogue.h"
#include "common/message_numbers.h"
#include "filepages/file_pages.h"
#include "gui/message_dialog.h"
#include "gui/standard_file.h"
#include "gui/texts.h"
#include "gui/widgets.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"

namespace {

// "notify::sensitive" of Apply: 変更内容 follows it.
void follow_apply(GObject* apply, GParamSpec*, gpointer review) {
  gtk_widget_set_sensitive(GTK_WIDGET(review), GTK_WIDGET_SENSITIVE(GTK_WIDGET(apply)));
}

struct ButtonDef {
  const char* label;
  GCallback handler;
};

void build_button_row(MainWindow* main, GtkWidget* vbox) {
  GtkWidget* row = gtk_hbutton_box_new();
  gtk_box_pack_start(GTK_BOX(vbox), row, FALSE, FALSE, 0);
  gtk_container_set_border_width(GTK_CONTAINER(row), 5);
  gtk_button_box_set_layout(GTK_BUTTON_BOX(row), GTK_BUTTONBOX_EDGE);
  const ButtonDef buttons[] = {{kTextOk, G_CALLBACK(on_ok)},
                               {kTextCancel, G_CALLBACK(on_cancel)},
                               {kTextApply, G_CALLBACK(apply_changes)},
                               {kTextReview, G_CALLBACK(open_review_window)},
                               {kTextHelp, G_CALLBACK(on_help)}};
  for (const auto& def : buttons) {
    GtkWidget* button = new_euc_button(def.label, 5);
    gtk_container_add(GTK_CONTAINER(row), button);
    g_signal_connect(button, "clicked", def.handler, main);
    if (def.handler == G_CALLBACK(apply_changes)) main->apply_button = button;
    if (def.handler == G_CALLBACK(open_review_window)) main->review_button = button;
    // F1 anywhere in the window is ヘルプ: the help of the page shown.
    if (def.handler == G_CALLBACK(on_help)) bind_key(main->window, button, GDK_F1);
  }
  // Whatever makes Apply sensitive or not does the same to 変更内容.
  g_signal_connect(main->apply_button, "notify::sensitive", G_CALLBACK(follow_apply),
                   main->review_button);
}

// Whether the run may end now: nothing is left unapplied, or the user chose
// to discard it. The question's default, and Esc, keep the edits.
bool may_quit(const MainWindow* main) {
  return !has_unapplied_changes(main) ||
         ask_question(message_text(kMessageDiscardChanges), kTextDiscardAndQuit, kTextGoBack);
}

// Shows the message of a failed Apply, with the reason when the file was refused.
void show_apply_failure(int number, const FileError& error) {
  std::string text = message_text(number);
  std::string why = refusal_text(error);
  if (!why.empty()) text += "\n" + why;
  show_message(text.c_str());
}

// The message of a failed Apply of a kind, which tells whether convdrc was
// written before it.
int apply_failure_message(FileKind kind, bool convd_written) {
  if (kind == FILE_KIND_CONVDRC) return kMessageWriteFailed;
  return convd_written ? kMessageHostsFailedAfter : kMessageHostsFailed;
}

void hold_back(GtkWidget* widget, gpointer) {
  gtk_widget_set_no_show_all(widget, TRUE);
}

void find_list(GtkWidget* widget, gpointer found) {
  if (GTK_IS_CLIST(widget))
    *static_cast<bool*>(found) = true;
  else if (GTK_IS_CONTAINER(widget))
    gtk_container_foreach(GTK_CONTAINER(widget), find_list, found);
}

// The accessibility layer takes a list's cells for hidden for good when it
// first meets them on a page held back, so such a page is shown at start.
bool holds_list(GtkWidget* page) {
  bool found = false;
  find_list(page, &found);
  return found;
}

void show_held_back(GtkWidget* widget, gpointer) {
  if (!gtk_widget_get_no_show_all(widget)) return;
  gtk_widget_set_no_show_all(widget, FALSE);
  gtk_widget_show_all(widget);
}

// "switch-page", before the notebook shows the page.
void on_switch_page(GtkNotebook* notebook, gpointer, guint page, gpointer) {
  show_page_contents(GTK_WIDGET(notebook), static_cast<int>(page));
}

}  // namespace

int build_main_window(MainWindow* main) {
  main_window_record = main;
  main->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_signal_connect(main->window, "delete_event", G_CALLBACK(on_main_window_delete), main);
  gtk_window_set_title(GTK_WINDOW(main->window), "TolqSysEnv_Server");
  GtkWidget* vbox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(main->window), vbox);
  main->notebook = gtk_notebook_new();
  gtk_box_pack_start(GTK_BOX(vbox), main->notebook, TRUE, TRUE, 0);
  if (build_convd_page(main) != 0 || build_access_page(main) != 0 || build_read_page(main) != 0 ||
      build_save_page(main) != 0)
    return -1;
  build_button_row(main, vbox);
  main->status_bar = gtk_statusbar_new();
  gtk_box_pack_start(GTK_BOX(vbox), main->status_bar, FALSE, FALSE, 0);
  return 0;
}

void load_initial_file(MainWindow* main, FileKind kind) {
  if (kind == FILE_KIND_CONVDRC) load_convdrc(main, ConvdrcPlaces::kSystemThenLibrary);
  if (kind == FILE_KIND_TOLQHOSTS) load_tolqhosts(main);
}

void load_settings_files(MainWindow* main) {
  load_initial_file(main, FILE_KIND_CONVDRC);
  load_initial_file(main, FILE_KIND_TOLQHOSTS);
  // A file refused for its link or its size leaves its page as an unreadable
  // one does; the user is told why.
  for (FileKind kind : {FILE_KIND_CONVDRC, FILE_KIND_TOLQHOSTS}) {
    std::string why = read_refusal_text(standard_file_path(main->places, kind).c_str());
    if (!why.empty()) show_message(why.c_str());
  }
  // Filling the pages fired their "changed" signals; nothing is unsaved yet.
  gtk_widget_set_sensitive(main->apply_button, FALSE);
  for (SettingsFile& file : settings_files()) file.dirty = false;
}

void show_main_window(MainWindow* main) {
  GtkNotebook* notebook = GTK_NOTEBOOK(main->notebook);
  // Before its pages are shown a notebook has no current page (-1); it then
  // shows the first.
  int current = std::max(gtk_notebook_get_current_page(notebook), 0);
  fill_deferred_page(gtk_notebook_get_nth_page(notebook, current));
  for (int page = 0; page < gtk_notebook_get_n_pages(notebook); ++page) {
    if (page == current) continue;
    // The page itself stays shown, so its tab is.
    GtkWidget* child = gtk_notebook_get_nth_page(notebook, page);
    if (!holds_list(child)) gtk_container_foreach(GTK_CONTAINER(child), hold_back, nullptr);
  }
  g_signal_connect(notebook, "switch-page", G_CALLBACK(on_switch_page), nullptr);
  gtk_widget_show_all(main->window);
}

void show_page_contents(GtkWidget* notebook, int page) {
  GtkWidget* child = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), page);
  if (!child) return;
  fill_deferred_page(child);
  gtk_container_foreach(GTK_CONTAINER(child), show_held_back, nullptr);
}

int apply_changes(GtkWidget*, MainWindow* main) {
  std::vector<AppliedFile> done;
  bool kept = false;
  bool failed = false;
  for (SettingsFile& file : settings_files()) {
    if (!file.dirty) continue;
    bool written_before = !done.empty() && done.back().applied == Applied::kWritten;
    AppliedFile applied{file.path()};
    std::string refusal;
    FileError error;
    if (!file.texts_writable(main, &refusal)) {
      applied.applied = Applied::kFailed;
      show_message(refusal.c_str());
    } else {
      applied.applied = apply_file(main, file, &error, &applied.replaced);
      if (applied.applied == Applied::kFailed)
        show_apply_failure(apply_failure_message(file.kind, written_before), error);
    }
    done.push_back(applied);
    // A failure stops Apply; a file left as it was keeps its changes to apply.
    failed = applied.applied == Applied::kFailed;
    if (failed) break;
    kept = kept || applied.applied == Applied::kKept;
  }
  show_status(applied_status(done));
  if (failed || kept) return -1;
  gtk_widget_set_sensitive(main->apply_button, FALSE);
  return 0;
}

void on_ok(GtkWidget* widget, MainWindow* main) {
  if (apply_changes(widget, main) != 0) return;
  gtk_main_quit();
}

void on_cancel(GtkWidget*, MainWindow* main) {
  if (may_quit(main)) gtk_main_quit();
}

gboolean on_main_window_delete(GtkWidget* widget, GdkEvent* event, gpointer data) {
  // Insensitive while a modal sub-window is open: it stays without asking.
  if (GTK_WIDGET_SENSITIVE(widget) && !may_quit(static_cast<const MainWindow*>(data))) return TRUE;
  return on_delete_event(widget, event, data);
}

void on_help(GtkWidget*, MainWindow* main) {
  GtkNotebook* notebook = GTK_NOTEBOOK(main->notebook);
  const char* key =
      page_help_key(gtk_notebook_get_nth_page(notebook, gtk_notebook_get_current_page(notebook)));
  if (!key) return;
  char buffer[kLineSize] = {};
  copy_bounded(buffer, key);
  show_help(main->help.get(), buffer);
}
