#include "serverrc/dict_dialogs.h"

#include <cstring>
#include <string>

#include "common/message_numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "converter/converter.h"
#include "gui/file_dialog.h"
#include "gui/form_fields.h"
#include "gui/message_dialog.h"
#include "gui/state.h"
#include "gui/widgets.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"

namespace {

void append_slash(char* path, size_t size) {
  size_t length = strlen(path);
  if ((length == 0 || path[length - 1] != '/') && length + 1 < size) strcat(path, "/");
}

// The dictionary directory of the page, in EUC-JP, without its macros and
// ending with '/'; false when its macros cannot be expanded.
bool expanded_dict_dir(char (&dir)[kPathSize]) {
  CString text = utf8_to_euc(gtk_entry_get_text(GTK_ENTRY(main_convd_page()->dir_entry)));
  if (strlen(text.get()) > kPathSize - 1) return false;  // cut, it would name another directory
  copy_bounded(dir, text.get());
  if (expand_path_macros(run_places(), dir, sizeof dir) != 0) return false;
  append_slash(dir, sizeof dir);
  return true;
}

// The full path of a row: its name when absolute, else dir followed by it.
void row_path(char (&path)[kPathSize], const char* name, const char* dir) {
  if (name[0] == '/')
    copy_bounded(path, name);
  else
    join_bounded(path, dir, name);
}

// A chosen file inside the dictionary directory, or below it, is entered
// relative to it.
const char* name_for_list(const std::string& chosen, const char* dir) {
  if (chosen.size() > 1 && starts_with(chosen.c_str(), dir)) return chosen.c_str() + strlen(dir);
  return chosen.c_str();
}

void scroll_row_into_view(GtkCList* list, int row, float row_align) {
  if (gtk_clist_row_is_visible(list, row) != GTK_VISIBILITY_FULL)
    gtk_clist_moveto(list, row, 0, row_align, 0.0);
}

// The expanded dictionary directory ending with '/', or "" when it cannot be expanded.
std::string dict_dir_initial_path() {
  char dir[kPathSize];
  return expanded_dict_dir(dir) ? dir : "";
}

std::string dict_change_initial_path() {
  ConvdPage* page = main_convd_page();
  char dir[kPathSize];
  copy_bounded(dir, utf8_to_euc(gtk_entry_get_text(GTK_ENTRY(page->dir_entry))).get());
  append_slash(dir, sizeof dir);
  char path[kPathSize];
  row_path(path, dict_row_name(page->dict_list, page->dict_selected_row), dir);
  return expand_path_macros(run_places(), path, sizeof path) == 0 ? path : "";
}

// The message for a name a convdrc line cannot hold, or 0: white space would
// split the "readfile" line (the next read takes the first word), and a
// newline or another control character has no place in a file name there.
int dict_name_refusal(const std::string& name) {
  if (name.find_first_of(" \t\n\v\f\r") != std::string::npos) return kMessageBlankInDictName;
  for (char c : name)
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7f) return kMessageBadDictName;
  return 0;
}

// The dictionary name that the add or change dialog's choice gives, with the
// checks both share; false (with the message shown) when it cannot be used.
bool checked_dict_name(const std::string& chosen, DictChoice choice, std::string* name) {
  char dir[kPathSize];
  int refusal = 0;
  if (!expanded_dict_dir(dir))
    refusal = kMessageBadDirectory;
  else if (dict_in_list(chosen.c_str(), dir, choice))
    refusal = kMessageAlreadyListed;
  else
    refusal = dict_name_refusal(name_for_list(chosen, dir));
  if (refusal != 0) {
    show_message_number(refusal);
    return false;
  }
  *name = name_for_list(chosen, dir);
  return true;
}

// A file selection of the page: for a dictionary file, or (directory set)
// for the dictionary directory. F1 opens the page's help.
FileQuestion page_question(const char* title, std::string initial_path, bool directory) {
  FileQuestion question;
  question.title = title;
  question.initial_path = std::move(initial_path);
  question.directories_only = directory;
  question.file_required = !directory;
  question.help = G_CALLBACK(on_help_key_clicked);
  question.help_key = kHelpConvdrc;
  return question;
}

// The dictionary list changed at row: it is shown, the notice of missing
// dictionaries follows, and the page is dirty.
void show_changed_row(int row, float row_align) {
  scroll_row_into_view(GTK_CLIST(main_convd_page()->dict_list), row, row_align);
  show_missing_dictionaries(main_convd_page());
  set_page_dirty(FILE_KIND_CONVDRC);
}

}  // namespace

bool dict_in_list(const char* path, const char* dir, DictChoice choice) {
  GtkWidget* list = main_convd_page()->dict_list;
  char row_file[kPathSize];
  if (choice == DictChoice::kChange) {
    row_path(row_file, dict_row_name(list, main_convd_page()->dict_selected_row), dir);
    if (strcmp(row_file, path) == 0) return false;
  }
  for (GList* l = GTK_CLIST(list)->row_list; l; l = l->next) {
    auto* name = static_cast<const char*>(GTK_CLIST_ROW(l)->data);
    row_path(row_file, name ? name : "", dir);
    if (strcmp(row_file, path) == 0) return true;
  }
  return false;
}

void on_dict_add(GtkWidget*, MainWindow* main) {
  std::string name;
  FileQuestion question = page_question(kDictAddTitle, dict_dir_initial_path(), false);
  question.accept = [&name](const std::string& chosen) {
    return checked_dict_name(chosen, DictChoice::kAdd, &name);
  };
  if (!ask_file(main, question)) return;
  ConvdPage* page = main->convd_page.get();
  GtkWidget* list = page->dict_list;
  append_dict_row(list, name.c_str());
  // Only the new row can widen the column; measuring every row would not scale.
  int width = dict_text_width(list, euc_to_utf8(name.c_str()).get());
  if (width > page->dict_column_width) page->dict_column_width = width;
  gtk_clist_set_column_width(GTK_CLIST(list), 0, page->dict_column_width);
  show_changed_row(GTK_CLIST(list)->rows - 1, 1.0);
}

void on_dict_change(GtkWidget*, MainWindow* main) {
  if (!GTK_CLIST(main->convd_page->dict_list)->selection) return;
  open_dict_change_dialog(main);
}

void open_dict_change_dialog(MainWindow* main) {
  GtkWidget* list = main->convd_page->dict_list;
  int row = main->convd_page->dict_selected_row;
  std::string own_file = dict_change_initial_path();
  std::string name;
  FileQuestion question = page_question(kDictChangeTitle, own_file, false);
  question.accept = [&](const std::string& chosen) {
    // The row's own file, as the dialog started: the row stays as it is,
    // byte for byte, macros and all.
    if (chosen == own_file) {
      name = dict_row_name(list, row);
      return true;
    }
    return checked_dict_name(chosen, DictChoice::kChange, &name);
  };
  if (!ask_file(main, question)) return;
  set_dict_row(list, row, name.c_str());
  // The row stays the selected one.
  gtk_clist_select_row(GTK_CLIST(list), row, 0);
  fit_dict_column(main->convd_page.get());
  show_changed_row(row, 0.0);
}

void on_dir_refer(GtkWidget*, MainWindow* main) {
  std::optional<std::string> euc =
      ask_file(main, page_question(kReferTitle, dict_dir_initial_path(), true));
  if (!euc || euc->empty()) return;
  char chosen[kPathSize];
  copy_bounded(chosen, euc->c_str());
  contract_path_macros(main->places, chosen, sizeof chosen);  // else the directory stays as chosen
  size_t length = strlen(chosen);
  if (length > 1 && chosen[length - 1] == '/') chosen[length - 1] = '\0';
  set_entry_text(main->convd_page->dir_entry, chosen);
}
