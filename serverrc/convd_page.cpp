#include "serverrc/convd_page.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/catalogue.h"
#include "common/message_numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "converter/converter.h"
#include "gui/form_fields.h"
#include "gui/message_dialog.h"
#include "gui/state.h"
#include "gui/widgets.h"
#include "help/help_window.h"
#include "serverrc/convdrc_file.h"
#include "serverrc/dict_dialogs.h"
#include "serverrc/missing_dicts.h"
#include "serverrc/texts.h"

namespace {

constexpr int kDictListWidth = 400;

// Measures texts as the list draws them: with a Pango layout in its font.
class TextMeasure {
 public:
  explicit TextMeasure(GtkWidget* list) : layout_(gtk_widget_create_pango_layout(list, nullptr)) {}
  ~TextMeasure() { g_object_unref(layout_); }
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  int width(const char* text) {
    pango_layout_set_text(layout_, text, -1);
    int w = 0;
    pango_layout_get_pixel_size(layout_, &w, nullptr);
    return w;
  }

 private:
  PangoLayout* layout_;
};

const char* entry_text(GtkWidget* entry) {
  return gtk_entry_get_text(GTK_ENTRY(entry));
}

// The UTF-8 form of a value as an entry shows it: a NUL, which an entry
// cannot hold, shows as "?" like a byte that does not convert.
std::string shown_form(const std::string& value) {
  std::string shown;
  for (size_t start = 0;;) {
    size_t nul = value.find('\0', start);
    shown += euc_to_utf8(value.substr(start, nul - start).c_str()).get();
    if (nul == std::string::npos) return shown;
    shown += '?';
    start = nul + 1;
  }
}

// Fills an entry with a value of the file and remembers both. An entry that
// could not take the whole text is not editable, so it is never written cut.
void set_entry_value(GtkWidget* entry, EntryOrigin* origin, const std::string& value) {
  std::string shown = shown_form(value);
  gtk_entry_set_text(GTK_ENTRY(entry), shown.c_str());
  gtk_editable_set_position(GTK_EDITABLE(entry), 0);
  origin->value = value;
  origin->shown = entry_text(entry);
  gtk_editable_set_editable(GTK_EDITABLE(entry), origin->shown == shown);
}

bool entry_changed(GtkWidget* entry, const EntryOrigin& origin) {
  return origin.shown != entry_text(entry);
}

// The value of an entry as the file takes it: unchanged, as it was read.
std::string entry_value(GtkWidget* entry, const EntryOrigin& origin) {
  return entry_changed(entry, origin) ? utf8_to_euc(entry_text(entry)).get() : origin.value;
}

bool is_utf8_continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// Whether the text left around the user's edit still stands for the bytes
// read there: it converts back to them. A "?" shown for a byte that does not
// convert does not, and writing it would put "?" where that byte was.
bool edit_keeps_bytes(const EntryOrigin& origin, std::string_view edited) {
  std::string_view shown = origin.shown;
  size_t front = 0;
  while (front < shown.size() && front < edited.size() && shown[front] == edited[front]) ++front;
  while (front > 0 && front < shown.size() && is_utf8_continuation(shown[front])) --front;
  size_t back = 0;
  while (back < shown.size() - front && back < edited.size() - front &&
         shown[shown.size() - 1 - back] == edited[edited.size() - 1 - back])
    ++back;
  while (back > 0 && is_utf8_continuation(shown[shown.size() - back])) --back;
  std::string head = utf8_to_euc(std::string(shown.substr(0, front)).c_str()).get();
  std::string tail = utf8_to_euc(std::string(shown.substr(shown.size() - back)).c_str()).get();
  const std::string& value = origin.value;
  return head.size() + tail.size() <= value.size() && value.compare(0, head.size(), head) == 0 &&
         value.compare(value.size() - tail.size(), tail.size(), tail) == 0;
}

// The message that refuses what the user made of an entry, or 0.
int entry_refusal(GtkWidget* entry, const EntryOrigin& origin, bool directory) {
  if (!entry_changed(entry, origin)) return 0;
  const char* text = entry_text(entry);
  if (!euc_can_hold(text)) return kMessageUnwritableText;
  if (!edit_keeps_bytes(origin, text)) return kMessageUnconvertedBytes;
  std::string value = utf8_to_euc(text).get();
  if (directory && holds_white_space(value)) return kMessageSpaceInDirectory;
  // A line break would end the line and start another.
  if (value.find_first_of("\r\n") != std::string::npos) return kMessageUnwritableText;
  return 0;
}

// Rows that still show a name read with a NUL, which a row cannot hold, get
// the whole name back.
void restore_cut_names(const ConvdPage* page, std::vector<std::string>* rows) {
  if (!page->source) return;
  const std::vector<std::string_view>& read = page->source->dicts;
  auto cut = [](std::string_view name) { return name.find('\0') != std::string_view::npos; };
  if (std::none_of(read.begin(), read.end(), cut)) return;
  std::vector<std::string_view> shown;
  shown.reserve(read.size());
  for (std::string_view name : read) shown.push_back(name.substr(0, name.find('\0')));
  std::vector<size_t> match = match_rows(shown, {rows->begin(), rows->end()});
  for (size_t r = 0; r < rows->size(); ++r)
    if (match[r] != kNoRow) (*rows)[r] = read[match[r]];
}

// The text a spin button shows, after taking in what was typed into it, so
// that a typed text is written as the number the page then shows.
std::string spin_value(GtkWidget* spin) {
  gtk_spin_button_update(GTK_SPIN_BUTTON(spin));
  return utf8_to_euc(entry_text(spin)).get();
}

void set_count(GtkObject* adjustment, GtkWidget* spin, const std::string& text) {
  set_adjustment_from_text(adjustment, text.c_str());
  // Also when the value stays the same: the spin button may show a typed text.
  gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), GTK_ADJUSTMENT(adjustment)->value);
}

// The names of the rows as the file holds them, in list order.
std::vector<std::string> dict_row_names(GtkWidget* list) {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(GTK_CLIST(list)->rows));
  for (GList* l = GTK_CLIST(list)->row_list; l; l = l->next) {
    auto* name = static_cast<const char*>(GTK_CLIST_ROW(l)->data);
    names.emplace_back(name ? name : "");
  }
  return names;
}

void on_dir_changed(GtkWidget*, gpointer page) {
  show_missing_dictionaries(static_cast<ConvdPage*>(page));
}

// The text under the list for what is missing; "" when nothing is.
std::string missing_dictionaries_text(const MissingDictionaries& missing) {
  std::string text;
  if (missing.dir_missing) text = kTextNoDictDir + missing.dir;
  if (missing.names.empty()) return text;
  if (!text.empty()) text += '\n';
  text += kTextMissingDicts;
  for (size_t i = 0; i < missing.names.size(); ++i)
    text += (i ? kTextNameSeparator : "") + missing.names[i];
  return text;
}

// Fills the page with values and the dictionary names.
void show_values(ConvdPage* page, const ConvdSettings& values,
                 const std::vector<std::string_view>& names) {
  GtkCList* list = GTK_CLIST(page->dict_list);
  gtk_clist_freeze(list);
  gtk_clist_clear(list);
  std::string name;
  for (std::string_view text : names) append_dict_row(page->dict_list, name.assign(text).c_str());
  gtk_clist_thaw(list);
  fit_dict_column(page);
  forget_dict_selection(page);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(page->ondisk_check), values.ondisk);
  set_count(page->sticky_adjustment, page->sticky_spin, values.sticky);
  set_count(page->autosave_adjustment, page->autosave_spin, values.autosave);
  // The notice is looked for once, for the whole page, not for its directory alone.
  g_signal_handlers_block_by_func(page->dir_entry, gpointer(on_dir_changed), page);
  set_entry_value(page->dir_entry, &page->dir_origin, values.dir);
  g_signal_handlers_unblock_by_func(page->dir_entry, gpointer(on_dir_changed), page);
  set_entry_value(page->giji_entry, &page->giji_origin, values.giji);
  show_missing_dictionaries(page);
}

GtkWidget* new_left_label(const char* text) {
  GtkWidget* label = new_euc_label(text);
  gtk_misc_set_alignment(GTK_MISC(label), 0.0, 0.5);
  return label;
}

// Takes digits only: a letter would read as 0, which for the automatic save
// count turns saving off.
GtkWidget* new_count_spin(GtkObject* adjustment) {
  GtkWidget* spin = gtk_spin_button_new(GTK_ADJUSTMENT(adjustment), 1, 0);
  gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(spin), TRUE);
  return spin;
}

// A widget kept at its natural size in the top left corner of its cell.
GtkWidget* at_natural_size(GtkWidget* widget) {
  GtkWidget* alignment = gtk_alignment_new(0, 0, 0, 0);
  gtk_container_add(GTK_CONTAINER(alignment), widget);
  return alignment;
}

void connect_dirty(GtkWidget* widget, const char* signal) {
  g_signal_connect(widget, signal, G_CALLBACK(mark_dirty), GINT_TO_POINTER(FILE_KIND_CONVDRC));
}

void connect_clicked(GtkWidget* button, GCallback handler, gpointer data) {
  g_signal_connect(button, "clicked", handler, data);
}

void build_directory_row(MainWindow* main, ConvdPage* page, GtkWidget* box) {
  GtkWidget* table = gtk_table_new(1, 4, FALSE);
  gtk_box_pack_start(GTK_BOX(box), table, FALSE, FALSE, 0);
  gtk_table_set_col_spacings(GTK_TABLE(table), 10);
  GtkWidget* label = new_left_label(kTextDictDir);
  gtk_table_attach(GTK_TABLE(table), label, 0, 1, 0, 1, GTK_FILL,
                   static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL), 0, 0);
  page->dir_entry = gtk_entry_new();
  gtk_table_attach_defaults(GTK_TABLE(table), page->dir_entry, 1, 3, 0, 1);
  label_field(label, page->dir_entry);
  connect_dirty(page->dir_entry, "changed");
  g_signal_connect(page->dir_entry, "changed", G_CALLBACK(on_dir_changed), page);
  GtkWidget* refer = new_euc_button(kTextRefer, 5);
  gtk_table_attach(GTK_TABLE(table), refer, 3, 4, 0, 1, GTK_SHRINK, GTK_SHRINK, 0, 0);
  describe_button(refer, kTextReferDescription);
  connect_clicked(refer, G_CALLBACK(on_dir_refer), main);
}

void build_dictionary_frame(MainWindow* main, ConvdPage* page, GtkWidget* box) {
  GtkWidget* frame = new_euc_frame(kTextDictFrame, GTK_SHADOW_ETCHED_IN, 5);
  gtk_box_pack_start(GTK_BOX(box), frame, TRUE, TRUE, 0);
  GtkWidget* vbox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(frame), vbox);
  GtkWidget* hbox = gtk_hbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(vbox), hbox, TRUE, TRUE, 0);

  CString title = euc_to_utf8(kTextDictColumn);
  gchar* titles[] = {title.get()};
  page->dict_list = gtk_clist_new_with_titles(1, titles);
  gtk_widget_set_size_request(page->dict_list, kDictListWidth, 150);
  name_widget(page->dict_list, euc_to_utf8(kTextDictFrame).get());
  gtk_box_pack_start(GTK_BOX(hbox), new_list_scroller(page->dict_list), TRUE, TRUE, 5);
  g_signal_connect(page->dict_list, "select_row", G_CALLBACK(dict_row_selected), nullptr);
  g_signal_connect(page->dict_list, "unselect_row", G_CALLBACK(dict_row_unselected), nullptr);

  GtkWidget* buttons = gtk_vbutton_box_new();
  gtk_box_pack_start(GTK_BOX(hbox), buttons, FALSE, TRUE, 0);
  gtk_container_set_border_width(GTK_CONTAINER(buttons), 5);
  gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_START);
  page->add_button = new_euc_button(kTextAdd, 0);
  page->change_button = new_euc_button(kTextChange, 0);
  page->remove_button = new_euc_button(kTextRemove, 0);
  for (GtkWidget* button : {page->add_button, page->change_button, page->remove_button})
    gtk_container_add(GTK_CONTAINER(buttons), button);
  connect_clicked(page->add_button, G_CALLBACK(on_dict_add), main);
  connect_clicked(page->change_button, G_CALLBACK(on_dict_change), main);
  connect_clicked(page->remove_button, G_CALLBACK(on_dict_remove), nullptr);
  describe_button(page->add_button, kTextDictAddDescription);
  describe_button(page->change_button, kTextDictChangeDescription);
  describe_button(page->remove_button, kTextDictRemoveDescription);
  connect_list_actions(page->dict_list, page->change_button, page->remove_button);
  forget_dict_selection(page);

  page->missing_label = gtk_label_new(nullptr);
  GtkLabel* label = GTK_LABEL(page->missing_label);
  // Wrapped at the list's width, so that a long notice makes the window no
  // wider; a long path breaks between characters, and nothing is cut.
  gtk_label_set_line_wrap(label, TRUE);
  gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
  gtk_widget_set_size_request(page->missing_label, kDictListWidth, -1);
  gtk_misc_set_alignment(GTK_MISC(label), 0.0, 0.5);
  gtk_misc_set_padding(GTK_MISC(label), 10, 5);
  // Shown only when something is missing; hidden, it takes no room.
  gtk_widget_set_no_show_all(page->missing_label, TRUE);
  gtk_box_pack_start(GTK_BOX(vbox), page->missing_label, FALSE, FALSE, 0);
}

// One row of the options table: a label and its field, which cell may hold
// inside an alignment.
void attach_option(GtkWidget* table, guint row, const char* label_text, GtkWidget* field,
                   GtkWidget* cell) {
  auto fill = static_cast<GtkAttachOptions>(GTK_FILL);
  GtkWidget* label = new_left_label(label_text);
  gtk_table_attach(GTK_TABLE(table), label, 0, 1, row, row + 1, fill, fill, 0, 0);
  gtk_table_attach_defaults(GTK_TABLE(table), cell, 1, 2, row, row + 1);
  label_field(label, field);
}

void build_options_table(ConvdPage* page, GtkWidget* box) {
  GtkWidget* table = gtk_table_new(4, 2, FALSE);
  gtk_box_pack_start(GTK_BOX(box), table, FALSE, FALSE, 0);
  gtk_container_set_border_width(GTK_CONTAINER(table), 5);
  gtk_table_set_row_spacings(GTK_TABLE(table), 5);

  page->ondisk_check = gtk_check_button_new_with_label(euc_to_utf8(kTextOndisk).get());
  gtk_table_attach(GTK_TABLE(table), page->ondisk_check, 0, 2, 0, 1, GTK_FILL, GTK_FILL, 0, 0);
  // "toggled", not "pressed": keyboard and accessibility toggles change it too.
  connect_dirty(page->ondisk_check, "toggled");

  page->sticky_adjustment = gtk_adjustment_new(10, kStickyMin, kStickyMax, 1, 10, 0);
  page->sticky_spin = new_count_spin(page->sticky_adjustment);
  attach_option(table, 1, kTextSticky, page->sticky_spin, at_natural_size(page->sticky_spin));
  connect_dirty(page->sticky_spin, "changed");

  page->giji_entry = gtk_entry_new();
  attach_option(table, 2, kTextGiji, page->giji_entry, page->giji_entry);
  connect_dirty(page->giji_entry, "changed");

  page->autosave_adjustment = gtk_adjustment_new(0, kAutosaveMin, kAutosaveMax, 1, 10, 0);
  page->autosave_spin = new_count_spin(page->autosave_adjustment);
  attach_option(table, 3, kTextAutosave, page->autosave_spin, at_natural_size(page->autosave_spin));
  connect_dirty(page->autosave_spin, "changed");
}

void build_reset_row(MainWindow* main, GtkWidget* box) {
  GtkWidget* row = gtk_hbox_new(FALSE, 5);
  gtk_box_pack_end(GTK_BOX(box), row, FALSE, TRUE, 5);
  GtkWidget* reset = new_euc_button(kTextReset, 5);
  gtk_widget_set_size_request(reset, -1, 40);
  gtk_box_pack_end(GTK_BOX(row), reset, FALSE, TRUE, 5);
  connect_clicked(reset, G_CALLBACK(on_convd_reset), main);
}

}  // namespace

int build_convd_page(MainWindow* main) {
  auto* page = new (std::nothrow) ConvdPage{};
  if (!page) out_of_memory();
  main->convd_page.reset(page);
  GtkWidget* frame = new_frame(nullptr, GTK_SHADOW_NONE, 5);
  append_notebook_page(main->notebook, frame, kTextConvdTab, kHelpConvdrc);
  GtkWidget* box = gtk_vbox_new(FALSE, 5);
  gtk_container_add(GTK_CONTAINER(frame), box);
  build_directory_row(main, page, box);
  build_dictionary_frame(main, page, box);
  build_options_table(page, box);
  build_reset_row(main, box);
  SettingsFile& file = settings_file(FILE_KIND_CONVDRC);
  file.render = render_convd_page;
  file.check_texts = [](MainWindow* m, std::string* refusal) {
    return convd_texts_writable(m->convd_page.get(), refusal);
  };
  file.read = read_convd_page;
  return 0;
}

void append_dict_row(GtkWidget* list, const char* name) {
  CString shown = euc_to_utf8(name);
  gchar* cells[] = {shown.get()};
  int row = gtk_clist_append(GTK_CLIST(list), cells);
  gtk_clist_set_row_data_full(GTK_CLIST(list), row, g_strdup(name), g_free);
}

void set_dict_row(GtkWidget* list, int row, const char* name) {
  gtk_clist_set_text(GTK_CLIST(list), row, 0, euc_to_utf8(name).get());
  gtk_clist_set_row_data_full(GTK_CLIST(list), row, g_strdup(name), g_free);
}

const char* dict_row_name(GtkWidget* list, int row) {
  auto* name = static_cast<const char*>(gtk_clist_get_row_data(GTK_CLIST(list), row));
  return name ? name : "";
}

int dict_text_width(GtkWidget* list, const char* text) {
  return TextMeasure(list).width(text);
}

void forget_dict_selection(ConvdPage* page) {
  gtk_widget_set_sensitive(page->change_button, FALSE);
  gtk_widget_set_sensitive(page->remove_button, FALSE);
}

void show_missing_dictionaries(ConvdPage* page) {
  std::string text = missing_dictionaries_text(
      find_missing_dictionaries(run_places(), entry_value(page->dir_entry, page->dir_origin),
                                dict_row_names(page->dict_list)));
  gtk_label_set_text(GTK_LABEL(page->missing_label), euc_to_utf8(text.c_str()).get());
  if (text.empty())
    gtk_widget_hide(page->missing_label);
  else
    gtk_widget_show(page->missing_label);
}

void fit_dict_column(ConvdPage* page) {
  GtkCList* clist = GTK_CLIST(page->dict_list);
  constexpr int column = 0;
  page->dict_column_width = 0;
  // Measured in the style the list is drawn with, which a list not shown yet
  // takes from the window it is in.
  gtk_widget_ensure_style(page->dict_list);
  TextMeasure measure(page->dict_list);
  // Walk the rows themselves: looking each up by number would be quadratic.
  for (GList* l = clist->row_list; l; l = l->next) {
    GtkCell& cell = GTK_CLIST_ROW(l)->cell[column];
    if (cell.type != GTK_CELL_TEXT) continue;
    int width = measure.width(GTK_CELL_TEXT(cell)->text);
    if (width > page->dict_column_width) page->dict_column_width = width;
  }
  gtk_clist_set_column_width(clist, column, page->dict_column_width);
}

void rewind_convd_fields(ConvdPage* page) {
  for (GtkWidget* field :
       {page->dir_entry, page->autosave_spin, page->sticky_spin, page->giji_entry})
    gtk_editable_set_position(GTK_EDITABLE(field), 0);
}

void on_dict_remove(GtkWidget*, gpointer) {
  ConvdPage* page = main_convd_page();
  GtkCList* list = GTK_CLIST(page->dict_list);
  if (!list->selection) return;
  gtk_clist_remove(list, page->dict_selected_row);
  fit_dict_column(page);
  forget_dict_selection(page);
  show_missing_dictionaries(page);
  set_page_dirty(FILE_KIND_CONVDRC);
}

void on_convd_reset(GtkWidget*, MainWindow* main) {
  if (load_convdrc(main, ConvdrcPlaces::kLibraryOnly) != 0) return;
  settle_convd_page(main->convd_page.get());
  set_page_dirty(FILE_KIND_CONVDRC);
}

void settle_convd_page(ConvdPage* page) {
  forget_dict_selection(page);
  rewind_convd_fields(page);
  if (GTK_CLIST(page->dict_list)->rows > 0)
    gtk_clist_moveto(GTK_CLIST(page->dict_list), 0, 0, 0, 0);
}

int load_convdrc(MainWindow* main, ConvdrcPlaces places) {
  std::string etc = std::string(main->places.etc_dir) + main->places.lang_dir;
  std::string lib = std::string(main->places.lib_dir) + main->places.lang_dir;
  const char* dir = nullptr;
  if (places == ConvdrcPlaces::kSystemThenLibrary) {
    note_standard_file(FILE_KIND_CONVDRC);
    if (regular_file_exists(etc.c_str(), "convdrc")) dir = etc.c_str();
  }
  if (!dir && regular_file_exists(lib.c_str(), "convdrc")) dir = lib.c_str();
  if (dir && read_convdrc_from(main, dir, "convdrc") == 0) {
    remember_file_read(FILE_KIND_CONVDRC, dir, "convdrc");
    rewind_convd_fields(main->convd_page.get());
    return 0;
  }
  // At start the page holds nothing yet: it gets the defaults, whose save
  // writes no line of a file that was not read.
  if (!dir || places == ConvdrcPlaces::kSystemThenLibrary) {
    SettingsFile& file = settings_file(FILE_KIND_CONVDRC);
    file.src_dir[0] = file.src_name[0] = '\0';
    set_convd_defaults(main);
  }
  if (!dir) return 0;
  std::string report = std::string(dir) + "convdrc\n" + message_text(kMessageReadFailed);
  show_message(report.c_str());
  return -1;
}

void dict_row_selected(GtkCList*, gint row, gint, GdkEvent*, gpointer) {
  main_convd_page()->dict_selected_row = row;
  gtk_widget_set_sensitive(main_convd_page()->change_button, TRUE);
  gtk_widget_set_sensitive(main_convd_page()->remove_button, TRUE);
}

void dict_row_unselected(GtkCList*, gint, gint, GdkEvent*, gpointer) {
  forget_dict_selection(main_convd_page());
}

void PageDeleter::operator()(ConvdPage* page) const {
  delete page;
}

void show_convd_settings(ConvdPage* page, const ConvdSettings& settings) {
  show_values(page, settings, {settings.dicts.begin(), settings.dicts.end()});
}

ConvdSettings gather_convd_settings(ConvdPage* page) {
  ConvdSettings settings;
  settings.dicts = dict_row_names(page->dict_list);
  restore_cut_names(page, &settings.dicts);
  settings.ondisk = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(page->ondisk_check));
  settings.sticky = spin_value(page->sticky_spin);
  settings.autosave = spin_value(page->autosave_spin);
  settings.dir = entry_value(page->dir_entry, page->dir_origin);
  settings.giji = entry_value(page->giji_entry, page->giji_origin);
  return settings;
}

bool convd_texts_writable(const ConvdPage* page, std::string* refusal) {
  const struct {
    GtkWidget* entry;
    const EntryOrigin& origin;
    const char* setting;
  } fields[] = {{page->dir_entry, page->dir_origin, kTextDirSetting},
                {page->giji_entry, page->giji_origin, kTextGijiSetting}};
  for (const auto& field : fields) {
    int message = entry_refusal(field.entry, field.origin, field.entry == page->dir_entry);
    if (message == 0) continue;
    *refusal = std::string(field.setting) + "\n" + message_text(message);
    return false;
  }
  return true;
}

void set_convd_defaults(MainWindow* main) {
  show_convd_settings(main->convd_page.get(), ConvdSettings{});
  main->convd_page->source.reset();
}

int read_convdrc(MainWindow* main) {
  const SettingsFile& file = settings_file(FILE_KIND_CONVDRC);
  return read_convdrc_from(main, file.src_dir, file.src_name);
}

int read_convdrc_from(MainWindow* main, const char* dir, const char* name, bool* found) {
  char path[kPathSize];
  if (!join_bounded(path, dir, name)) return -1;
  std::unique_ptr<ConvdrcSource> source;
  FileStamp stamp;
  if (load_convdrc_file(path, &source, &stamp) != 0) return -1;
  ConvdPage* page = main->convd_page.get();
  show_values(page, source->values, source->dicts);
  if (found) *found = source->values.keyword_seen;
  page->source = std::move(source);
  note_file_read(FILE_KIND_CONVDRC, path, &stamp);
  return 0;
}

int read_convd_page(MainWindow* main, const char* dir, const char* name, int* message) {
  bool found = false;
  if (read_convdrc_from(main, dir, name, &found) != 0) return -1;
  settle_convd_page(main->convd_page.get());
  *message = found ? kMessageRead : kMessageWrongKind;
  return 0;
}

std::string render_convd_page(MainWindow* main) {
  ConvdPage* page = main->convd_page.get();
  return render_convdrc(page->source.get(), gather_convd_settings(page));
}
