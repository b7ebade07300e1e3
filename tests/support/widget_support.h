// Helpers for widget tests that run the real pages in-process.
#ifndef TOLQ_TESTS_SUPPORT_WIDGET_SUPPORT_H
#define TOLQ_TESTS_SUPPORT_WIDGET_SUPPORT_H

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/support/files.h"

// The places of a run as start-up forms them, without a user.
Places test_places();
// Builds a fresh main window with its four pages, as start-up does, without
// loading any settings file, in places. The window is shown as start-up shows
// it (at its first page) but the main loop is not run.
MainWindow* build_test_main_window(const Places& places = test_places());
// Destroys a window built by build_test_main_window.
void destroy_test_main_window(MainWindow* main);

// A fresh main window whose system (etc_dir) and library (lib_dir) directories
// are scratch directories.
class ScratchMainWindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TempDir etc, lib;
  MainWindow* main = nullptr;
};

// Runs pending toolkit events.
void process_events();
// Processes events until the condition holds; false when it did not within two seconds.
bool wait_until(const std::function<bool()>& condition);
// Schedules action to run from the main loop once the next nested loop is running
// (for example inside a modal dialog), then runs code that starts that loop.
// Idle work that start_loop queues itself runs before action.
void with_nested_loop(const std::function<void()>& start_loop, const std::function<void()>& action);

// Opens a file selection with opener and runs action on it once its nested
// loop is running: the main window is insensitive meanwhile, and the dialog
// is gone afterwards.
void in_file_dialog(MainWindow* main, void (*opener)(GtkWidget*, MainWindow*), const char* title,
                    const std::function<void(GtkFileSelection*)>& action);
// Chooses file in a file selection and presses its OK.
void choose_and_ok(GtkFileSelection* fs, const std::string& file);
// The selection's file name; a directory is given without its final slash.
std::string shown_path(GtkFileSelection* fs);

// The toplevel window with this title (UTF-8), or null.
GtkWidget* find_window(const char* title);
// Text of the label of the message dialog last shown, in UTF-8; "" when none is open.
std::string open_message_text();
// Closes every open message dialog.
void close_message_dialogs();
// Runs code that may ask questions in modal dialogs and answers them in turn
// with answers; returns how many were asked (at most answers.size()).
// before_answer, when given, runs with the answer's index while its question is open.
int run_answering(const std::function<void()>& code, const std::vector<bool>& answers,
                  const std::function<void(size_t)>& before_answer = nullptr);
// Presses keyval (no modifiers) in the window of widget, as the X server
// would deliver it: through the input grab, to the window's accelerators
// and its focus widget.
void press_key(GtkWidget* widget, guint keyval);
// The modal dialog or message open in front, or null.
GtkWidget* front_dialog();
// EUC-JP of a UTF-8 text and back (the message catalogue holds EUC-JP).
std::string to_utf8(const char* euc);

#endif
