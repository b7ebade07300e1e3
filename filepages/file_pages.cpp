#include "filepages/file_pages.h"

#include <cstring>
#include <new>
#include <string>

#include "common/message_numbers.h"
#include "common/paths.h"
#include "common/split_path.h"
#include "converter/converter.h"
#include "filepages/texts.h"
#include "gui/file_dialog.h"
#include "gui/form_fields.h"
#include "gui/message_dialog.h"
#include "gui/standard_file.h"
#include "gui/state.h"
#include "gui/widgets.h"
#include "help/help_window.h"

namespace {

constexpr const char* kConvdrcChoice = "convdrc";
constexpr const char* kTolqhostsChoice = "tolqhosts";

GtkWidget* new_file_combo() {
  GtkWidget* combo = gtk_combo_new();
  CString convdrc = euc_to_utf8(kConvdrcChoice);
  CString tolqhosts = euc_to_utf8(kTolqhostsChoice);
  GList* items = g_list_append(nullptr, convdrc.get());
  items = g_list_append(items, tolqhosts.get());
  gtk_combo_set_popdown_strings(GTK_COMBO(combo), items);
  g_list_free(items);
  GtkWidget* entry = GTK_COMBO(combo)->entry;
  gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
  gtk_entry_set_text(GTK_ENTRY(entry), convdrc.get());
  return combo;
}

// Both pages: the file choice, the path with its browse button, the action
// button; with_previous adds 前の版 under the browse button.
void fill_file_page(MainWindow* main, FilePage* page, GtkWidget* frame, const char* label,
                    GCallback action_handler, BrowseTarget browse_target_code,
                    const char* browse_description, bool with_previous) {
  GtkWidget* vbox = gtk_vbox_new(FALSE, 5);
  gtk_container_add(GTK_CONTAINER(frame), vbox);
  GtkTable* table = GTK_TABLE(gtk_table_new(3, 4, FALSE));
  gtk_box_pack_start(GTK_BOX(vbox), GTK_WIDGET(table), FALSE, FALSE, 0);
  gtk_table_set_row_spacings(table, 30);
  gtk_table_set_col_spacings(table, 10);
  const auto fill = GTK_FILL;
  const auto grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);

  page->file_combo = new_file_combo();
  // The choice has no label on screen; an assistive tool still names it.
  CString kind = euc_to_utf8(kTextFileKind);
  name_widget(page->file_combo, kind.get());
  name_widget(GTK_COMBO(page->file_combo)->entry, kind.get());
  gtk_table_attach(table, gtk_label_new("     "), 0, 1, 0, 1, fill, grow, 0, 0);
  gtk_table_attach(table, page->file_combo, 0, 2, 0, 1, fill, grow, 0, 0);
  gtk_table_attach_defaults(table, gtk_label_new("                           "), 2, 3, 0, 1);

  GtkWidget* name_label = new_euc_label(kTextFileName);
  gtk_misc_set_alignment(GTK_MISC(name_label), 0.0, 0.5);
  gtk_table_attach_defaults(table, name_label, 0, 1, 1, 2);
  // No length limit: a path too long to use is refused when used, never cut.
  page->path_entry = gtk_entry_new();
  gtk_table_attach_defaults(table, page->path_entry, 1, 3, 1, 2);
  label_field(name_label, page->path_entry);
  GtkWidget* browse = new_euc_button(kTextBrowse, 5);
  gtk_table_attach(table, browse, 3, 4, 1, 2, GTK_SHRINK, grow, 0, 0);
  describe_button(browse, browse_description);

  GtkWidget* action = new_euc_button(label, 5);
  gtk_table_attach_defaults(table, action, 0, 1, 2, 3);
  if (with_previous) {
    page->previous_button = new_euc_button(kTextPrevious, 5);
    gtk_table_attach(table, page->previous_button, 3, 4, 2, 3, GTK_SHRINK, grow, 0, 0);
    describe_button(page->previous_button, kTextPreviousDescription);
    g_signal_connect(page->previous_button, "clicked", G_CALLBACK(on_previous_clicked), main);
  }

  g_signal_connect(action, "clicked", action_handler, main);
  g_signal_connect(browse, "clicked", G_CALLBACK(remember_browse_target),
                   GINT_TO_POINTER(browse_target_code));
  g_signal_connect(browse, "clicked", G_CALLBACK(open_browse_dialog), main);
}

// The page and its tab at once; its widgets, which nothing uses before the
// page is shown, when its tab is first chosen.
FilePage* build_file_page(MainWindow* main, const char* label, GCallback action_handler,
                          BrowseTarget browse_target_code, const char* browse_description,
                          bool with_previous) {
  auto* page = new (std::nothrow) FilePage{};
  if (!page) out_of_memory();
  GtkWidget* frame = new_frame(nullptr, GTK_SHADOW_NONE, 5);
  append_notebook_page(main->notebook, frame, label,
                       browse_target_code == BROWSE_TARGET_SAVE ? kHelpSave : kHelpRead);
  defer_page_contents(frame, [=] {
    fill_file_page(main, page, frame, label, action_handler, browse_target_code, browse_description,
                   with_previous);
  });
  return page;
}

// The settings file kind the page's choice names.
SettingsFile& chosen_file(const FilePage* page) {
  char choice[kLineSize];
  copy_bounded(choice, gtk_entry_get_text(GTK_ENTRY(GTK_COMBO(page->file_combo)->entry)));
  bool convdrc = strcmp(choice, kConvdrcChoice) == 0;
  return settings_file(convdrc ? FILE_KIND_CONVDRC : FILE_KIND_TOLQHOSTS);
}

// The message that refuses a typed path, or 0.
int path_fault_message(PagePathFault fault, int failure_message) {
  switch (fault) {
    case PagePathFault::kNone:
      return 0;
    case PagePathFault::kEmpty:
      return kMessageNoFileName;
    case PagePathFault::kEdgeBlank:
      return kMessageEdgeBlank;
    case PagePathFault::kTooLong:
      return kMessagePathTooLong;
    case PagePathFault::kUnresolved:
      break;
  }
  return failure_message;
}

// Turns the page's path into a directory and a name, and shows the full path
// in the entry. -1 after showing why there is nothing to do (nothing shown
// for a path without '/', which a full path cannot be).
int take_page_path(const FilePage* page, char* dir, char* name, int failure_message) {
  GtkEntry* entry = GTK_ENTRY(page->path_entry);
  std::string full;
  int message = path_fault_message(full_page_path(run_places(), gtk_entry_get_text(entry), &full),
                                   failure_message);
  if (message != 0) {
    show_message_number(message);
    return -1;
  }
  gtk_entry_set_text(entry, full.c_str());
  if (split_path(full.c_str(), dir, kPathSize, name, kPathSize) != 0) return -1;
  if (name[0] == '\0') {
    show_message_number(kMessageNoFileName);
    return -1;
  }
  return 0;
}

FilePage* browse_page(MainWindow* main) {
  if (main->browse_target == BROWSE_TARGET_READ) return main->read_page.get();
  if (main->browse_target == BROWSE_TARGET_SAVE) return main->save_page.get();
  return nullptr;
}

GtkWidget* browse_entry(MainWindow* main) {
  FilePage* page = browse_page(main);
  return page ? page->path_entry : nullptr;
}

}  // namespace

int build_read_page(MainWindow* main) {
  main->read_page.reset(build_file_page(main, kTextReadTab, G_CALLBACK(on_read_clicked),
                                        BROWSE_TARGET_READ, kTextReadBrowseDescription, true));
  return main->read_page ? 0 : -1;
}

int build_save_page(MainWindow* main) {
  main->save_page.reset(build_file_page(main, kTextSaveTab, G_CALLBACK(on_save_clicked),
                                        BROWSE_TARGET_SAVE, kTextSaveBrowseDescription, false));
  return main->save_page ? 0 : -1;
}

void on_read_clicked(GtkWidget*, MainWindow* main) {
  show_status("");
  char dir[kPathSize];
  char name[kPathSize];
  if (take_page_path(main->read_page.get(), dir, name, kMessageReadFailed) != 0) return;
  std::string path = std::string(dir) + name;
  if (!path_exists(dir, name)) {
    show_status(status_message(kTextStatusReadFailed, {path}));
    show_message_number(kMessageNoSuchFile);
    return;
  }
  // The names of the file read last change only with a successful read: until
  // then the page still holds the other file, whose lines later saves keep.
  SettingsFile& file = chosen_file(main->read_page.get());
  int message = kMessageRead;
  if (file.read(main, dir, name, &message) != 0) {
    show_status(status_message(kTextStatusReadFailed, {path}));
    std::string why = read_refusal_text(path.c_str());
    if (why.empty())
      show_message_number(kMessageReadFailed);
    else
      show_message(why.c_str());
    return;
  }
  remember_file_read(file.kind, dir, name);
  set_page_dirty(file.kind);
  show_status(status_message(kTextStatusRead, {path, file.path()}));
  // The page now holds what was read even when it is not what the user meant.
  show_message_number(message);
}

void on_previous_clicked(GtkWidget*, MainWindow* main) {
  FilePage* page = main->read_page.get();
  set_entry_text(page->path_entry,
                 previous_version_path(run_places(), chosen_file(page).kind).c_str());
}

void on_save_clicked(GtkWidget*, MainWindow* main) {
  show_status("");
  char dir[kPathSize];
  char name[kPathSize];
  if (take_page_path(main->save_page.get(), dir, name, kMessageSaveFailed) != 0) return;
  SettingsFile& file = chosen_file(main->save_page.get());
  std::string path = std::string(dir) + name;
  std::string refusal;
  if (!file.texts_writable(main, &refusal)) {
    show_status(status_message(kTextStatusSaveFailed, {path}));
    show_message(refusal.c_str());
    return;
  }
  FileError error;
  bool saved;
  // Onto the standard file itself, links followed, it is an Apply of that file.
  if (same_file_place(path.c_str(), file.path().c_str())) {
    AppliedFile applied{file.path()};
    applied.applied = apply_file(main, file, &error, &applied.replaced);
    show_status(applied_status({applied}));
    if (applied.applied == Applied::kKept) return;
    saved = applied.applied == Applied::kWritten;
  } else {
    SaveOptions options;
    options.error = &error;
    saved = write_settings_file(dir, name, file.render(main), options) == 0;
    show_status(status_message(saved ? kTextStatusSaved : kTextStatusSaveFailed, {path}));
  }
  std::string why = refusal_text(error);
  if (saved || why.empty())
    show_message_number(saved ? kMessageSaved : kMessageSaveFailed);
  else
    show_message(why.c_str());
}

void open_browse_dialog(GtkWidget*, MainWindow* main) {
  GtkWidget* entry = browse_entry(main);
  std::string initial = entry ? utf8_to_euc(gtk_entry_get_text(GTK_ENTRY(entry))).get() : "";
  FileQuestion question;
  question.title = kBrowseTitle;
  question.initial_path = initial;
  question.help = G_CALLBACK(on_help_key_clicked);
  question.help_key = main->browse_target == BROWSE_TARGET_SAVE ? kHelpSave : kHelpRead;
  std::optional<std::string> chosen = ask_file(main, question);
  if (chosen && !chosen->empty() && entry) set_entry_text(entry, chosen->c_str());
}

void PageDeleter::operator()(FilePage* page) const {
  delete page;
}
