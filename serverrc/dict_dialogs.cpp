#include "serverrc/dict_dialogs.h"

#include <cstring>
#include <string>

#include "common/file_dialog.h"
#include "common/form_fields.h"
#include "common/message_dialog.h"
#include "common/message_numbers.h"
#include "common/paths.h"
#include "common/state.h"
#include "common/text.h"
#include "common/widgets.h"
#include "converter/converter.h"
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
  if (expand_path_macros(dir, sizeof dir) != 0) return false;
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
  char dir[kPathSize];
  copy_bounded(dir, utf8_to_euc(gtk_entry_get_text(GTK_ENTRY(main_convd_page()->dir_entry))).get());
  append_slash(dir, sizeof dir);
  char path[kPathSize];
  row_path(path, dict_row_name(main_convd_page()->dict_list, dict_selected_row), dir);
  return expand_path_macros(path, sizeof path) == 0 ? path : "";
}

// A newline would end the name's line in convdrc early; no control
// character belongs in a file name there.
bool has_control_char(const std::string& name) {
  for (unsigned char c : name)
    if (c < ' ' || c == 0x7f) return true;
  return false;
}

// The dictionary name that the add or change dialog's choice gives, with the
// checks both share; false (with the message shown) when it cannot be used.
bool checked_dict_name(gpointer dialog, int for_change, std::string* name) {
  char dir[kPathSize];
  if (!expanded_dict_dir(dir)) {
    show_message_number(kMessageBadDirectory);
    return false;
  }
  std::string chosen;
  if (!chosen_file(dialog, &chosen)) return false;
  if (dict_in_list(chosen.c_str(), dir, for_change) == -1) {
    show_message_number(kMessageAlreadyListed);
    return false;
  }
  if (has_control_char(chosen)) {
    show_message_number(kMessageBadDictName);
    return false;
  }
  *name = name_for_list(chosen, dir);
  return true;
}

// The name that the add or change dialog's choice gives; false when there is
// none to take. An empty name field names only a directory, which is no
// dictionary: the dialog then ends and nothing changes.
bool take_dict_name(gpointer dialog, int for_change, std::string* name) {
  if (!name_field_empty(dialog)) return checked_dict_name(dialog, for_change, name);
  end_modal_loop(GTK_WIDGET(dialog));
  return false;
}

// The dictionary list changed at row: it is shown, the page is dirty, the dialog ends.
void end_dict_dialog(gpointer dialog, int row, float row_align) {
  scroll_row_into_view(GTK_CLIST(main_convd_page()->dict_list), row, row_align);
  set_page_dirty(&convd_dirty);
  end_modal_loop(GTK_WIDGET(dialog));
}

}  // namespace

int dict_in_list(const char* path, const char* dir, int for_change) {
  GtkWidget* list = main_convd_page()->dict_list;
  char row_file[kPathSize];
  if (for_change) {
    row_path(row_file, dict_row_name(list, dict_selected_row), dir);
    if (strcmp(row_file, path) == 0) return 0;
  }
  for (GList* l = GTK_CLIST(list)->row_list; l; l = l->next) {
    auto* name = static_cast<const char*>(GTK_CLIST_ROW(l)->data);
    row_path(row_file, name ? name : "", dir);
    if (strcmp(row_file, path) == 0) return -1;
  }
  return 0;
}

void on_dict_add(GtkWidget*, MainWindow* main) {
  run_file_dialog(main, kDictAddTitle, dict_dir_initial_path(), G_CALLBACK(on_dict_add_ok), false);
}

void on_dict_change(GtkWidget*, MainWindow* main) {
  if (!GTK_CLIST(main->convd_page->dict_list)->selection) return;
  open_dict_change_dialog(main);
}

void open_dict_change_dialog(MainWindow* main) {
  run_file_dialog(main, kDictChangeTitle, dict_change_initial_path(), G_CALLBACK(on_dict_change_ok),
                  false);
}

void on_dir_refer(GtkWidget*, MainWindow* main) {
  run_file_dialog(main, kReferTitle, dict_dir_initial_path(), G_CALLBACK(on_dir_refer_ok), true);
}

void on_dict_add_ok(GtkWidget*, gpointer dialog) {
  std::string name;
  if (!take_dict_name(dialog, 0, &name)) return;
  GtkWidget* list = main_convd_page()->dict_list;
  append_dict_row(list, name.c_str());
  // Only the new row can widen the column; measuring every row would not scale.
  int width = dict_text_width(list, euc_to_utf8(name.c_str()).get());
  if (width > dict_column_width) dict_column_width = width;
  gtk_clist_set_column_width(GTK_CLIST(list), 0, dict_column_width);
  end_dict_dialog(dialog, GTK_CLIST(list)->rows - 1, 1.0);
}

void on_dict_change_ok(GtkWidget*, gpointer dialog) {
  std::string name;
  if (!take_dict_name(dialog, 1, &name)) return;
  GtkWidget* list = main_convd_page()->dict_list;
  int row = dict_selected_row;
  set_dict_row(list, row, name.c_str());
  // The row stays the selected one.
  gtk_clist_select_row(GTK_CLIST(list), row, 0);
  fit_list_column(list, 0);
  end_dict_dialog(dialog, row, 0.0);
}

void on_dir_refer_ok(GtkWidget*, gpointer dialog) {
  std::string euc;
  if (!chosen_file(dialog, &euc)) return;
  char chosen[kPathSize];
  copy_bounded(chosen, euc.c_str());
  if (chosen[0] != '\0') {
    contract_path_macros(chosen, sizeof chosen);  // else the directory stays as chosen
    size_t length = strlen(chosen);
    if (length > 1 && chosen[length - 1] == '/') chosen[length - 1] = '\0';
    set_entry_text(main_convd_page()->dir_entry, chosen);
  }
  end_modal_loop(GTK_WIDGET(dialog));
}
