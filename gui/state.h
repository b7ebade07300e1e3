// Program-wide state that the pages share, below them all: the main window's
// record, the record of each settings file kind (which page holds changes
// not yet applied, the file read last), the status line, and the small
// handlers every page connects. The window assembly in
// app/ builds the record and the pages fill it.
#ifndef TOLQ_GUI_STATE_H
#define TOLQ_GUI_STATE_H

#include <gtk/gtk.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "common/catalogue.h"
#include "common/file_stamp.h"
#include "common/places.h"

struct ConvdPage;
struct AccessPage;
struct FilePage;
struct Help;

// Each page's own file deletes its record, where the record is complete (the
// help's too).
struct PageDeleter {
  void operator()(ConvdPage* page) const;
  void operator()(AccessPage* page) const;
  void operator()(FilePage* page) const;
  void operator()(Help* help) const;
};
template <typename Page>
using PageRecord = std::unique_ptr<Page, PageDeleter>;

struct MainWindow;

// One kind of settings file with its page, the record that Apply, 変更内容, the
// status line and the read and save pages all work through. The page that
// shows the kind fills in the functions when it is built.
struct SettingsFile {
  SettingsFile(FileKind file_kind, const Places* run_places)
      : kind(file_kind), places(run_places) {}

  const FileKind kind;
  const Places* const places;  // the main window's, which say where the standard file is
  // The file read last (at start, by 初期設定に戻す or through 読込), whose
  // lines saves carry over; the directory ends with '/'. Both are empty when
  // built-in defaults were put in instead.
  char src_dir[kPathSize] = {};
  char src_name[kPathSize] = {};
  bool read_ok = false;  // the page's contents came from a file read successfully
  bool dirty = false;    // the page holds changes not yet applied
  // What the standard file was when this program last read or wrote it
  // (exists is false when it was not there), so that Apply can tell whether
  // someone else has written it since.
  FileStamp stamp;

  // Exactly the bytes that Apply and 保存 write: the page's values merged
  // into the file read last.
  std::string (*render)(MainWindow* main) = nullptr;
  // False when a text on the page cannot be written as it stands; refusal
  // then receives the message, naming the setting. Null when every text can.
  bool (*check_texts)(MainWindow* main, std::string* refusal) = nullptr;
  // Reads dir + name into the page, as 読込 does: 0 with the number of the
  // message that tells how it went, or -1 with the page unchanged.
  int (*read)(MainWindow* main, const char* dir, const char* name, int* message) = nullptr;

  // The standard place, where Apply writes it.
  std::string path() const { return standard_file_path(*places, kind); }
  bool texts_writable(MainWindow* main, std::string* refusal) const {
    return !check_texts || check_texts(main, refusal);
  }
};

struct MainWindow {
  MainWindow() = default;
  // The settings files point at the places.
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  GtkWidget* window = nullptr;
  GtkWidget* notebook = nullptr;
  PageRecord<ConvdPage> convd_page;
  PageRecord<AccessPage> access_page;
  PageRecord<FilePage> read_page;
  PageRecord<FilePage> save_page;
  PageRecord<Help> help;                        // the help file read at start-up and its window
  std::unique_ptr<MessageCatalogue> catalogue;  // the numbered messages, read at start-up
  GtkWidget* apply_button = nullptr;
  GtkWidget* review_button = nullptr;  // 変更内容: sensitive exactly when Apply is
  GtkWidget* status_bar = nullptr;     // what the last Apply, 保存 or 読込 did
  // Which page's path the next browse dialog fills: BROWSE_TARGET_READ or
  // BROWSE_TARGET_SAVE, 0 before a browse button was pressed.
  int browse_target = 0;
  Places places;  // formed at start-up
  // Both kinds, in the order Apply writes them: convdrc, then tolqhosts.
  std::array<SettingsFile, 2> files = {SettingsFile{FILE_KIND_CONVDRC, &places},
                                       SettingsFile{FILE_KIND_TOLQHOSTS, &places}};
};

// The main window of the run, the one way to it for the handlers whose signal
// carries no data (or other data) and the code they call; set when the window
// is built. Everything else is given its MainWindow.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): dataless handlers.
extern MainWindow* main_window_record;

// The places of the run, for code without the MainWindow.
inline const Places& run_places() {
  return main_window_record->places;
}

// The Apply button, for handlers without the MainWindow.
inline GtkWidget* main_apply_button() {
  return main_window_record->apply_button;
}

// The pages a browse dialog can fill. A plain enum: the browse buttons pass it
// as signal data through GINT_TO_POINTER.
enum BrowseTarget { BROWSE_TARGET_READ = 8, BROWSE_TARGET_SAVE = 9 };

// The main window's settings files, for code without the MainWindow.
std::array<SettingsFile, 2>& settings_files();
SettingsFile& settings_file(FileKind kind);
// True when some page of the window holds changes not yet applied.
bool has_unapplied_changes(const MainWindow* main);

// Notes dir + name as the file of a kind read last, after a successful read.
void remember_file_read(FileKind kind, const char* dir, const char* name);

// Looks at the standard file of a kind as it is now: start-up reads it next.
void note_standard_file(FileKind kind);
// After a read of path, whose stamp was read when given: when it is the
// standard file itself, the page now shows what that file holds.
void note_file_read(FileKind kind, const char* path, const FileStamp* read = nullptr);

// Marks the page of a kind dirty and makes Apply sensitive.
void set_page_dirty(FileKind kind);
// Marks the page of a kind dirty, the FileKind given as data (GINT_TO_POINTER).
void mark_dirty(GtkWidget* widget, gpointer data);
// Notes which page's browse button was pressed: data is its BROWSE_TARGET_ code.
void remember_browse_target(GtkWidget* widget, gpointer data);

// The text of a message number in the main window's catalogue.
const char* message_text(int number);

// The status line's text (UTF-8); "" empties it.
void show_status(const std::string& text);
// The status line's text now.
std::string status_text();
// A path as the file system names it, in UTF-8 for the toolkit.
std::string display_path(const std::string& path);
// text with each "%s" in it replaced in turn by one of values.
std::string fill_in(std::string text, const std::vector<std::string>& values);
// An EUC-JP text for the status line in UTF-8, each "%s" in it replaced in
// turn by one of paths, shown as the file system names them.
std::string status_message(const char* text, const std::vector<std::string>& paths = {});

#endif
