// Program-wide state that the pages share, below them all: the main window's
// record, which page holds changes not yet applied, the settings files read
// last, and the small handlers every page connects. The window assembly in
// app/ builds the record and the pages fill it.
#ifndef TOLQ_COMMON_STATE_H
#define TOLQ_COMMON_STATE_H

#include <gtk/gtk.h>

#include <memory>

#include "common/input_file.h"
#include "common/places.h"

struct ConvdPage;
struct AccessPage;
struct FilePage;

// Each page's own file deletes its record, where the record is complete.
struct PageDeleter {
  void operator()(ConvdPage* page) const;
  void operator()(AccessPage* page) const;
  void operator()(FilePage* page) const;
};
template <typename Page>
using PageRecord = std::unique_ptr<Page, PageDeleter>;

struct MainWindow {
  GtkWidget* window = nullptr;
  GtkWidget* notebook = nullptr;
  PageRecord<ConvdPage> convd_page;
  PageRecord<AccessPage> access_page;
  PageRecord<FilePage> read_page;
  PageRecord<FilePage> save_page;
  GtkWidget* apply_button = nullptr;
};

// The main window of the run, for the handlers whose signal carries no data;
// set when the window is built.
extern MainWindow* main_window_record;

// The Apply button, for handlers without the MainWindow.
inline GtkWidget* main_apply_button() {
  return main_window_record->apply_button;
}

inline constexpr int BROWSE_TARGET_READ = 8;
inline constexpr int BROWSE_TARGET_SAVE = 9;
// Which page's path the next browse dialog fills.
extern int browse_target;

extern int convd_dirty;
extern int hosts_dirty;
extern int convd_read_ok;
extern int hosts_read_ok;

// The settings files read last; each directory ends with '/'.
extern char convd_src_dir[kPathSize];
extern char convd_src_name[kPathSize];
extern char hosts_src_dir[kPathSize];
extern char hosts_src_name[kPathSize];

// Notes dir + name as the file of a kind read last, after a successful read.
void remember_file_read(int kind, const char* dir, const char* name);

// What the standard file of a kind was when this program last read or wrote
// it (exists is false when it was not there), so that Apply can tell whether
// someone else has written it since.
FileStamp& standard_file_stamp(int kind);
// Looks at the standard file of a kind as it is now: start-up reads it next.
void note_standard_file(int kind);
// After a read of path, whose stamp was read when given: when it is the
// standard file itself, the page now shows what that file holds.
void note_file_read(int kind, const char* path, const FileStamp* read = nullptr);

// Whether a page holds changes that Apply has not written yet.
bool has_unapplied_changes();
// Sets the dirty flag of a page and makes Apply sensitive.
void set_page_dirty(int* flag);
// Marks a page dirty: data 0 the convd page, anything else the access-control page.
void mark_dirty(GtkWidget* widget, gpointer data);
void remember_browse_target(GtkWidget* widget, gpointer data);

// Everything above back to how a run starts (for tests that build many windows).
void reset_program_state();

#endif
