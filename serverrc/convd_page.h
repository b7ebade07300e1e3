// The page "convd 基本設定": every setting of convdrc in widgets.
#ifndef TOLQ_SERVERRC_CONVD_PAGE_H
#define TOLQ_SERVERRC_CONVD_PAGE_H

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "gui/state.h"
#include "serverrc/convdrc_file.h"

// What a text entry was last filled with: the value as the file holds it
// (EUC-JP) and the text the entry then showed. While the entry still shows
// that text the value goes back to the file unchanged, byte for byte, even
// where the entry could not show it exactly.
struct EntryOrigin {
  std::string value;
  std::string shown;
};

// The widgets that hold the server settings; they are the settings' only store.
struct ConvdPage {
  GtkWidget* dict_list;  // one-column GtkCList, one row per "readfile"
  GtkWidget* ondisk_check;
  GtkObject* sticky_adjustment;
  GtkWidget* sticky_spin;
  GtkObject* autosave_adjustment;
  GtkWidget* autosave_spin;
  GtkWidget* dir_entry;
  GtkWidget* giji_entry;
  GtkWidget* add_button;
  GtkWidget* change_button;
  GtkWidget* remove_button;
  GtkWidget* missing_label;  // the dictionaries the server would not find; hidden when none
  EntryOrigin dir_origin;
  EntryOrigin giji_origin;
  int dict_selected_row = -1;  // the row last selected; kept when it is unselected
  int dict_column_width = 0;   // the dictionary column's width, fitted to its widest row
  // The convdrc read last, kept whole: saves carry it over from here.
  std::unique_ptr<ConvdrcSource> source;
};

// The convd page of the run, for handlers without data.
inline ConvdPage* main_convd_page() {
  return main_window_record->convd_page.get();
}

int build_convd_page(MainWindow* main);
// Sets dict_column_width to the widest row of the dictionary list and the column to that width.
void fit_dict_column(ConvdPage* page);
// Puts the cursor of the entries and spin buttons at position 0, so that the
// start of each value shows; the dictionary list is left as it is.
void rewind_convd_fields(ConvdPage* page);
void on_dict_remove(GtkWidget* button, gpointer data);
void on_convd_reset(GtkWidget* button, MainWindow* main);
// "select_row" and "unselect_row" of the dictionary list: the change and
// remove buttons follow the selection.
void dict_row_selected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
void dict_row_unselected(GtkCList* list, gint row, gint column, GdkEvent* event, gpointer data);
// Where load_convdrc looks: the system convdrc and then the installed default
// copy (at start), or only the default copy (初期設定に戻す).
enum class ConvdrcPlaces { kSystemThenLibrary, kLibraryOnly };
// Fills the page from the first convdrc found in places, or else the
// defaults. A file there that cannot be read is reported; -1 then, and the
// page is left as it was, or at start holds the defaults.
int load_convdrc(MainWindow* main, ConvdrcPlaces places);
// After 読込 or 初期設定に戻す filled the page anew: the fields rewound, and
// the dictionary list with no row selected, its column fitted to the rows and
// the first row at the top.
void settle_convd_page(ConvdPage* page);

// Reads the convdrc read last (its SettingsFile's src_dir + src_name) into
// the page; 0 or -1 (page unchanged).
int read_convdrc(MainWindow* main);
// Reads dir + name into the page and keeps its bytes for later saves; found
// tells whether the file held any setting. 0 or -1 (page unchanged).
int read_convdrc_from(MainWindow* main, const char* dir, const char* name, bool* found = nullptr);
// The defaults, with no file read to carry over.
void set_convd_defaults(MainWindow* main);
// 読込 of a convdrc: reads dir + name into the page and settles it; 0 with
// message 66, or 128 when the file held no setting, or -1 (page unchanged).
int read_convd_page(MainWindow* main, const char* dir, const char* name, int* message);
// Exactly the bytes Apply and 保存 write: the page's settings merged into the
// convdrc read last.
std::string render_convd_page(MainWindow* main);

// Moving settings between the page and the file layer.
void show_convd_settings(ConvdPage* page, const ConvdSettings& settings);
ConvdSettings gather_convd_settings(ConvdPage* page);
// False when a text the user edited cannot be written as it stands: it holds
// a character EUC-JP cannot, keeps bytes read that do not convert, or puts
// white space into the dictionary directory. refusal then receives the
// message to show, naming the setting.
bool convd_texts_writable(const ConvdPage* page, std::string* refusal);

// Dictionary rows keep the name as the file holds it (EUC-JP bytes) as their
// data and show its UTF-8 form, so any name is shown and written back intact.
void append_dict_row(GtkWidget* list, const char* name);
void set_dict_row(GtkWidget* list, int row, const char* name);
// The name of a row as the file holds it.
const char* dict_row_name(GtkWidget* list, int row);
// Width in pixels of a text (UTF-8) in the list's font.
int dict_text_width(GtkWidget* list, const char* text);
// Makes change and remove insensitive: no row is selected any more.
void forget_dict_selection(ConvdPage* page);
// Looks again for the dictionary directory and the listed dictionaries, and
// names under the list those that are not there; the label hides when all are.
void show_missing_dictionaries(ConvdPage* page);

#endif
