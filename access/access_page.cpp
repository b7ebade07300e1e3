#include "access/access_page.h"

#include <initializer_list>
#include <new>

#include "access/access_dialogs.h"
#include "access/access_file.h"
#include "access/texts.h"
#include "common/message_numbers.h"
#include "common/paths.h"
#include "converter/converter.h"
#include "gui/message_dialog.h"
#include "gui/state.h"
#include "gui/widgets.h"
#include "help/help_window.h"

namespace {

void set_sensitive(std::initializer_list<GtkWidget*> widgets, gboolean sensitive) {
  for (GtkWidget* widget : widgets) gtk_widget_set_sensitive(widget, sensitive);
}

// Every button but the server list's "追加" depends on a selection.
void disable_selection_buttons(AccessPage* page) {
  set_sensitive({page->server_change_button, page->server_remove_button, page->user_add_button,
                 page->user_change_button, page->user_remove_button},
                FALSE);
}

void reset_access_lists(AccessPage* page) {
  disable_selection_buttons(page);
  clear_list(page->server_list);
  clear_list(page->user_list);
}

void remember_server_row(AccessPage* page, int row) {
  int slot = GPOINTER_TO_INT(gtk_clist_get_row_data(GTK_CLIST(page->server_list), row));
  const AccessBlock& block = page->model.blocks[slot];
  page->selected_server = {row, slot, {block.host, block.port}};
}

void remember_user_row(AccessPage* page, int row) {
  int slot = page->selected_server.slot;
  int slots[MAX_BLOCK_ENTRIES];
  EntryTexts texts;
  if (row < ordered_entries(page->model, slot, slots)) {
    const AccessEntry& entry = page->model.blocks[slot].entries[slots[row]];
    texts = {entry.host, entry.user};
  }
  page->selected_pair = {row, slot, texts};
}

// Shows texts of the file in a row of a two-column list.
void set_row_texts(GtkWidget* list, int row, const EntryTexts& texts) {
  gtk_clist_set_text(GTK_CLIST(list), row, 0, euc_to_utf8(texts.host.c_str()).get());
  gtk_clist_set_text(GTK_CLIST(list), row, 1, euc_to_utf8(texts.second.c_str()).get());
}

int append_row(GtkWidget* list, const char* host, const char* second) {
  CString first = euc_to_utf8(host);
  CString other = euc_to_utf8(second);
  gchar* cells[] = {first.get(), other.get()};
  return gtk_clist_append(GTK_CLIST(list), cells);
}

GtkWidget* new_list(std::initializer_list<const char*> titles) {
  GtkWidget* list = gtk_clist_new(static_cast<gint>(titles.size()));
  int column = 0;
  for (const char* title : titles)
    gtk_clist_set_column_title(GTK_CLIST(list), column++, euc_to_utf8(title).get());
  gtk_clist_column_titles_show(GTK_CLIST(list));
  gtk_widget_set_usize(list, 400, 150);
  gtk_clist_set_column_width(GTK_CLIST(list), 0, 150);
  return list;
}

struct ButtonRow {
  GtkWidget** button;
  const char* label;
  GCallback handler;
  gpointer data;
  const char* description;
};

// A titled frame holding the list in a scrolled window and its three buttons.
void pack_list_frame(GtkWidget* vbox, const char* title, GtkWidget* list,
                     std::initializer_list<ButtonRow> buttons) {
  name_widget(list, euc_to_utf8(title).get());
  GtkWidget* frame = new_euc_frame(title, GTK_SHADOW_ETCHED_IN, 5);
  gtk_widget_set_usize(frame, 400, -1);
  gtk_box_pack_start(GTK_BOX(vbox), frame, TRUE, TRUE, 0);
  GtkWidget* hbox = gtk_hbox_new(FALSE, 5);
  gtk_container_add(GTK_CONTAINER(frame), hbox);
  gtk_box_pack_start(GTK_BOX(hbox), new_list_scroller(list), TRUE, TRUE, 0);
  GtkWidget* box = gtk_vbutton_box_new();
  gtk_container_set_border_width(GTK_CONTAINER(box), 5);
  gtk_button_box_set_layout(GTK_BUTTON_BOX(box), GTK_BUTTONBOX_START);
  gtk_box_pack_start(GTK_BOX(hbox), box, FALSE, FALSE, 0);
  for (const ButtonRow& row : buttons) {
    *row.button = new_euc_button(row.label, 0);
    gtk_container_add(GTK_CONTAINER(box), *row.button);
    g_signal_connect(*row.button, "clicked", row.handler, row.data);
    describe_button(*row.button, row.description);
  }
}

}  // namespace

int build_access_page(MainWindow* main) {
  auto* page = new (std::nothrow) AccessPage{};
  if (!page) out_of_memory();
  main->access_page.reset(page);
  GtkWidget* frame = new_frame(nullptr, GTK_SHADOW_NONE, 5);
  append_notebook_page(main->notebook, frame, kTextAccessTab, kHelpTolqhosts);
  GtkWidget* vbox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(frame), vbox);

  page->server_list = new_list({kTextHostColumn, kTextPortColumn});
  g_signal_connect(page->server_list, "select_row", G_CALLBACK(on_server_selected), nullptr);
  g_signal_connect(page->server_list, "unselect_row", G_CALLBACK(on_server_unselected), nullptr);
  pack_list_frame(vbox, kTextServerFrame, page->server_list,
                  {{&page->server_add_button, kTextAdd, G_CALLBACK(on_server_add_clicked), main,
                    kTextServerAddDescription},
                   {&page->server_change_button, kTextChange, G_CALLBACK(on_server_change_clicked),
                    main, kTextServerChangeDescription},
                   {&page->server_remove_button, kTextRemove, G_CALLBACK(on_server_remove), nullptr,
                    kTextServerRemoveDescription}});
  connect_list_actions(page->server_list, page->server_change_button, page->server_remove_button);

  page->user_list = new_list({kTextHostColumn, kTextUserColumn});
  g_signal_connect(page->user_list, "select_row", G_CALLBACK(on_user_selected), nullptr);
  g_signal_connect(page->user_list, "unselect_row", G_CALLBACK(on_user_unselected), nullptr);
  pack_list_frame(vbox, kTextPermitFrame, page->user_list,
                  {{&page->user_add_button, kTextAdd, G_CALLBACK(on_user_add_clicked), main,
                    kTextPairAddDescription},
                   {&page->user_change_button, kTextChange, G_CALLBACK(on_user_change_clicked),
                    main, kTextPairChangeDescription},
                   {&page->user_remove_button, kTextRemove, G_CALLBACK(on_user_remove), nullptr,
                    kTextPairRemoveDescription}});
  connect_list_actions(page->user_list, page->user_change_button, page->user_remove_button);

  disable_selection_buttons(page);
  SettingsFile& file = settings_file(FILE_KIND_TOLQHOSTS);
  file.render = render_access_page;
  file.read = read_access_page;
  return 0;
}

void clear_list(GtkWidget* list) {
  gtk_clist_freeze(GTK_CLIST(list));
  gtk_clist_clear(GTK_CLIST(list));
  gtk_clist_thaw(GTK_CLIST(list));
}

void fill_server_list() {
  AccessPage* page = access_page_record();
  const AccessModel& model = page->model;
  reset_access_lists(page);
  for (int i = 0; i < model.block_count; ++i) {
    int slot = find_block_by_kind_order(model, BLOCK_KIND_CONVD, i);
    if (slot >= 0)
      append_server_row(model.blocks[slot].host.c_str(), slot, model.blocks[slot].port.c_str(),
                        NewRow::kKeepSelection);
  }
}

void append_server_row(const char* host, int slot, const char* port, NewRow new_row) {
  GtkWidget* list = access_page_record()->server_list;
  int row = append_row(list, host, port);
  gtk_clist_set_row_data(GTK_CLIST(list), row, GINT_TO_POINTER(slot));
  if (new_row == NewRow::kSelect) gtk_clist_select_row(GTK_CLIST(list), row, 0);
}

// The cells hold the texts whole, as shown; the model keeps them as read.
void append_user_row(const char* host, const char* user) {
  append_row(access_page_record()->user_list, host, user);
}

int selected_server_slot() {
  return access_page_record()->selected_server.slot;
}

void add_server(const EntryTexts& texts) {
  int slot =
      add_server_block(access_page_record()->model, texts.host.c_str(), texts.second.c_str());
  if (slot < 0) {
    show_message_number(kMessageTooManyServers);
    return;
  }
  GtkWidget* list = access_page_record()->server_list;
  append_server_row(texts.host.c_str(), slot, texts.second.c_str(), NewRow::kSelect);
  show_list_row(list, GTK_CLIST(list)->rows - 1);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
}

void change_selected_server(const EntryTexts& texts) {
  AccessPage* page = access_page_record();
  change_server_block(page->model, page->selected_server.slot, texts.host.c_str(),
                      texts.second.c_str());
  set_row_texts(page->server_list, page->selected_server.row, texts);
  select_list_row(page->server_list, page->selected_server.row);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
}

void add_pair(const EntryTexts& texts) {
  AccessModel& model = access_page_record()->model;
  if (add_block_entry(model, selected_server_slot(), texts.host.c_str(), texts.second.c_str()) <
      0) {
    show_message_number(kMessageTooManyUsers);
    return;
  }
  GtkWidget* list = access_page_record()->user_list;
  append_user_row(texts.host.c_str(), texts.second.c_str());
  // The new row becomes the selection, so a change edits the row it presets.
  select_list_row(list, GTK_CLIST(list)->rows - 1);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
}

void change_selected_pair(const EntryTexts& texts) {
  AccessPage* page = access_page_record();
  int row = page->selected_pair.row;
  change_block_entry(page->model, page->selected_pair.slot, row, texts.host.c_str(),
                     texts.second.c_str());
  set_row_texts(page->user_list, row, texts);
  select_list_row(page->user_list, row);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
}

bool list_has_selection(GtkWidget* list) {
  return GTK_CLIST(list)->selection != nullptr;
}

void show_list_row(GtkWidget* list, int row) {
  if (gtk_clist_row_is_visible(GTK_CLIST(list), row) != GTK_VISIBILITY_FULL)
    gtk_clist_moveto(GTK_CLIST(list), row, -1, 1.0, 0.0);
  GTK_CLIST(list)->focus_row = row;
}

void select_list_row(GtkWidget* list, int row) {
  gtk_clist_select_row(GTK_CLIST(list), row, 0);
  show_list_row(list, row);
}

void on_server_selected(GtkCList*, gint row, gint, GdkEvent*, gpointer) {
  AccessPage* page = access_page_record();
  remember_server_row(page, row);
  set_sensitive({page->server_change_button, page->server_remove_button, page->user_add_button},
                TRUE);
  set_sensitive({page->user_change_button, page->user_remove_button}, FALSE);
  clear_list(page->user_list);
  int slot = selected_server_slot();
  int slots[MAX_BLOCK_ENTRIES];
  int count = ordered_entries(page->model, slot, slots);
  for (int i = 0; i < count; ++i) {
    const AccessEntry& entry = page->model.blocks[slot].entries[slots[i]];
    append_user_row(entry.host.c_str(), entry.user.c_str());
  }
}

void on_server_unselected(GtkCList*, gint, gint, GdkEvent*, gpointer) {
  disable_selection_buttons(access_page_record());
  clear_list(access_page_record()->user_list);
}

void on_user_selected(GtkCList*, gint row, gint, GdkEvent*, gpointer) {
  remember_user_row(access_page_record(), row);
  set_sensitive(
      {access_page_record()->user_change_button, access_page_record()->user_remove_button}, TRUE);
}

void on_user_unselected(GtkCList*, gint, gint, GdkEvent*, gpointer) {
  set_sensitive(
      {access_page_record()->user_change_button, access_page_record()->user_remove_button}, FALSE);
}

void on_server_remove(GtkWidget*, gpointer) {
  AccessPage* page = access_page_record();
  if (!list_has_selection(page->server_list)) return;
  remove_server_block(page->model, page->selected_server.slot);
  clear_list(page->user_list);
  gtk_clist_remove(GTK_CLIST(page->server_list), page->selected_server.row);
  disable_selection_buttons(page);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
}

void on_user_remove(GtkWidget*, gpointer) {
  AccessPage* page = access_page_record();
  if (!list_has_selection(page->server_list) || !list_has_selection(page->user_list)) return;
  remove_block_entry(page->model, page->selected_pair.slot, page->selected_pair.row);
  gtk_clist_remove(GTK_CLIST(page->user_list), page->selected_pair.row);
  set_sensitive({page->user_change_button, page->user_remove_button}, FALSE);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
}

int read_access_from(MainWindow* main, const char* dir, const char* name) {
  FileStamp stamp;
  if (read_access_path(main->access_page->model, dir, name, &stamp) != 0) return -1;
  reset_access_lists(main->access_page.get());
  note_file_read(FILE_KIND_TOLQHOSTS, (std::string(dir) + name).c_str(), &stamp);
  return 0;
}

int read_access_page(MainWindow* main, const char* dir, const char* name, int* message) {
  if (read_access_from(main, dir, name) != 0) return -1;
  fill_server_list();
  const AccessModel& model = main->access_page->model;
  if (find_block_by_kind_order(model, BLOCK_KIND_CONVD, 0) < 0)
    *message = kMessageWrongKind;
  else
    *message = access_more_than_shown(model) ? kMessageMoreThanShown : kMessageRead;
  return 0;
}

std::string render_access_page(MainWindow* main) {
  return render_access_model(main->access_page->model, settings_file(FILE_KIND_TOLQHOSTS).read_ok);
}

void load_tolqhosts(MainWindow* main) {
  note_standard_file(FILE_KIND_TOLQHOSTS);
  const char* etc_dir = main->places.etc_dir;
  if (!path_exists(etc_dir, "tolqhosts")) return;
  if (read_access_from(main, etc_dir, "tolqhosts") != 0) return;
  remember_file_read(FILE_KIND_TOLQHOSTS, etc_dir, "tolqhosts");
  const AccessModel& model = main->access_page->model;
  if (model.block_count > 0) fill_server_list();
  if (access_more_than_shown(model)) show_message_number(kMessageMoreThanShown);
}

void PageDeleter::operator()(AccessPage* page) const {
  delete page;
}
