#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "access/access_page.h"
#include "app/main_window.h"
#include "common/catalogue.h"
#include "common/message_numbers.h"
#include "filepages/file_pages.h"
#include "gui/state.h"
#include "gui/widgets.h"
#include "serverrc/convd_page.h"
#include "tests/support/files.h"
#include "tests/support/widget_support.h"

namespace {

const std::string kHostsHeader = ";;\n;; tolqhosts : created by cfgmate \n;;\n";

class Shell : public ScratchMainWindowTest {
 protected:
  bool apply_sensitive() const { return GTK_WIDGET_SENSITIVE(main->apply_button); }
};

// Runs the main loop until the handler quits it; false when it did not within a second.
bool quits_main_loop(const std::function<void()>& handler) {
  bool timed_out = false;
  guint timer = g_timeout_add(
      1000,
      [](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        gtk_main_quit();
        return FALSE;
      },
      &timed_out);
  with_nested_loop(gtk_main, handler);
  if (!timed_out) g_source_remove(timer);
  return !timed_out;
}

// A close request to the main window, as from a window manager's close box;
// true when the window stays.
bool request_close(MainWindow* main) {
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(main->window->window));
  gboolean stays = FALSE;
  g_signal_emit_by_name(main->window, "delete-event", event, &stays);
  gdk_event_free(event);
  return stays;
}

TEST_F(Shell, StartUpLeavesApplyInsensitiveAndNothingDirty) {
  settings_file(FILE_KIND_CONVDRC).dirty = settings_file(FILE_KIND_TOLQHOSTS).dirty = true;
  gtk_widget_set_sensitive(main->apply_button, TRUE);
  load_settings_files(main);
  EXPECT_FALSE(apply_sensitive());
  EXPECT_FALSE(settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(main->notebook)), 4);
  EXPECT_EQ(main_window_record, main);  // handlers without data reach it so
}

TEST_F(Shell, EachPageShowsItsContentsWhenItsTabIsChosenAndTheWindowKeepsItsSize) {
  EXPECT_EQ(main->read_page->path_entry, nullptr);  // not built before it is needed
  // A page with a list is shown at once: its cells must show to assistive tools.
  EXPECT_TRUE(GTK_WIDGET_VISIBLE(main->access_page->server_list));
  GtkAllocation shown = main->window->allocation;
  for (int page : {1, 2, 3, 0}) {
    gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), page);
    process_events();
    EXPECT_TRUE(GTK_WIDGET_MAPPED(
        gtk_bin_get_child(GTK_BIN(gtk_notebook_get_nth_page(GTK_NOTEBOOK(main->notebook), page)))));
    EXPECT_EQ(main->window->allocation.width, shown.width);
    EXPECT_EQ(main->window->allocation.height, shown.height);
  }
  for (FilePage* page : {main->read_page.get(), main->save_page.get()})
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(page->path_entry));
}

TEST_F(Shell, DictionaryColumnFittedAtStartUpIsAsWideAsWhenMeasuredShown) {
  destroy_test_main_window(main);
  mkdir((etc / "ja_JP").c_str(), 0755);
  write_file(etc / "ja_JP/convdrc", "readfile short.dic\nreadfile a_much_longer_name.dic\n");
  main = new MainWindow{};
  ASSERT_EQ(build_main_window(main), 0);
  load_settings_files(main);
  show_main_window(main);
  process_events();
  GtkCList* list = GTK_CLIST(main->convd_page->dict_list);
  int fitted = list->column[0].width;
  fit_dict_column(main->convd_page.get());
  EXPECT_GT(fitted, 0);
  EXPECT_EQ(list->column[0].width, fitted);
}

TEST_F(Shell, MarkDirtyMakesApplySensitiveForEitherPage) {
  load_settings_files(main);
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_CONVDRC));
  EXPECT_TRUE(apply_sensitive());
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_TOLQHOSTS));
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
}

TEST_F(Shell, OkWithNothingDirtyWritesNothingAndQuits) {
  load_settings_files(main);
  gtk_widget_set_sensitive(main->apply_button, TRUE);
  EXPECT_TRUE(quits_main_loop([&] { on_ok(nullptr, main); }));
  EXPECT_FALSE(apply_sensitive());
  EXPECT_EQ(list_dir(etc.path()), "");
}

TEST_F(Shell, ApplyWithNothingDirtySucceedsWithoutWriting) {
  EXPECT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(list_dir(etc.path()), "");
  EXPECT_EQ(status_text(), "適用する変更はありません。");
}

TEST_F(Shell, ApplyWritesOnlyTheDirtyFile) {
  load_settings_files(main);
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_TOLQHOSTS));
  EXPECT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(list_dir(etc.path()), "tolqhosts");
  EXPECT_EQ(read_file(etc / "tolqhosts"), ";;\n;; tolqhosts : created by cfgmate \n;;\n");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_FALSE(apply_sensitive());
}

TEST_F(Shell, ApplyStopsAtTheFirstFailureAndKeepsBothDirty) {
  load_settings_files(main);
  write_file(etc / "ja_JP", "a file where the convdrc directory should be");
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_CONVDRC));
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_TOLQHOSTS));
  EXPECT_EQ(apply_changes(nullptr, main), -1);
  EXPECT_EQ(open_message_text(), to_utf8(message_text(68)));
  EXPECT_EQ(list_dir(etc.path()), "ja_JP");  // tolqhosts was not attempted
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_TRUE(apply_sensitive());
  close_message_dialogs();
  // OK after a failed Apply leaves the window open.
  EXPECT_FALSE(quits_main_loop([&] { on_ok(nullptr, main); }));
}

// The reason a file was refused follows the message of the failure.
TEST_F(Shell, TolqhostsFailureSaysWhetherConvdrcWasWrittenAndWhy) {
  mkdir((etc / "tolqhosts").c_str(), 0755);  // no regular file: refused
  load_settings_files(main);
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_TOLQHOSTS));
  std::string why = "\n" + etc / "tolqhosts" + "\n" + to_utf8(message_text(kMessageNotRegular));
  EXPECT_EQ(apply_changes(nullptr, main), -1);
  EXPECT_EQ(open_message_text(), to_utf8(message_text(kMessageHostsFailed)) + why);
  close_message_dialogs();
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_CONVDRC));
  EXPECT_EQ(apply_changes(nullptr, main), -1);
  EXPECT_EQ(open_message_text(), to_utf8(message_text(kMessageHostsFailedAfter)) + why);
  EXPECT_EQ(status_text(),
            "適用しました: " + etc / "ja_JP/convdrc（新しいファイル）。" +
                "convd の再起動後に有効になります。書き込めませんでした: " + etc / "tolqhosts。");
  EXPECT_TRUE(file_exists(etc / "ja_JP/convdrc"));
  EXPECT_FALSE(settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_TRUE(apply_sensitive());
}

// Someone else wrote the file since it was read, or it appeared: Apply asks.
// キャンセル leaves that file and its page's changes alone; 上書き keeps the
// other writer's version as the previous one.
TEST_F(Shell, AnOutsideChangeIsOverwrittenOnlyWhenTheUserSaysSo) {
  write_file(etc / "tolqhosts", "; read at start\n");
  load_settings_files(main);
  write_file(etc / "tolqhosts", "; written by someone else\n");
  mkdir((etc / "ja_JP").c_str(), 0755);
  write_file(etc / "ja_JP/convdrc", "; appeared since\n");
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_CONVDRC));
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_TOLQHOSTS));
  int result = 0;
  auto apply = [&] { result = apply_changes(nullptr, main); };
  EXPECT_EQ(run_answering(apply, {false, true}), 2);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"), "; appeared since\n");
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_EQ(read_file(etc / "tolqhosts"), kHostsHeader + "; read at start\n");
  EXPECT_EQ(read_file(etc / "tolqhosts-"), "; written by someone else\n");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_TRUE(apply_sensitive());
  EXPECT_EQ(status_text(),
            "適用しました: " + etc / "tolqhosts（前の版: " + etc / "tolqhosts-）。" +
                "convd の再起動後に有効になります。書き込みませんでした: " +
                etc / "ja_JP/convdrc（ほかのプログラムが変更したファイルをそのまま残しました）。");
  // What this program wrote itself is no outside change: only convdrc asks.
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_TOLQHOSTS));
  EXPECT_EQ(run_answering(apply, {true, true}), 1);
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(apply_sensitive());
}

// What decides is the check under the lock right before the rename: a change
// made while the question is open is asked about again, and is then the
// previous version, never lost.
TEST_F(Shell, AChangeMadeWhileTheQuestionIsOpenIsAskedAboutAgain) {
  write_file(etc / "tolqhosts", "; read at start\n");
  load_settings_files(main);
  write_file(etc / "tolqhosts", "; first outside change\n");
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_TOLQHOSTS));
  int result = 0;
  auto apply = [&] { result = apply_changes(nullptr, main); };
  auto change_during_first = [&](size_t answer) {
    if (answer == 0) write_file(etc / "tolqhosts", "; second outside change\n");
  };
  EXPECT_EQ(run_answering(apply, {true, true}, change_during_first), 2);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(read_file(etc / "tolqhosts-"), "; second outside change\n");
  EXPECT_EQ(read_file(etc / "tolqhosts"), kHostsHeader + "; read at start\n");
}

// Too large to read: the page stays as at start, and the user is told.
TEST_F(Shell, AFileTooLargeAtStartLeavesItsPageEmptyAndSaysSo) {
  write_file(etc / "tolqhosts", "");
  ASSERT_EQ(truncate((etc / "tolqhosts").c_str(), kMaxSettingsFileSize + 1), 0);
  load_settings_files(main);
  EXPECT_EQ(open_message_text(),
            etc / "tolqhosts" + "\n" + to_utf8(message_text(kMessageTooLarge)));
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).read_ok);
  close_message_dialogs();
}

// While a modal sub-window makes it insensitive, closing does nothing, asks nothing.
TEST_F(Shell, ClosingIsRefusedWhileTheWindowIsInsensitive) {
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_CONVDRC));
  gtk_widget_set_sensitive(main->window, FALSE);
  EXPECT_EQ(run_answering([&] { EXPECT_TRUE(request_close(main)); }, {true}), 0);
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).dirty);
}

TEST_F(Shell, WithoutUnappliedChangesCancelAndClosingQuitWithoutAsking) {
  load_settings_files(main);
  int asked = 1;
  EXPECT_TRUE(
      quits_main_loop([&] { asked = run_answering([&] { on_cancel(nullptr, main); }, {false}); }));
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(quits_main_loop(
      [&] { asked = run_answering([&] { EXPECT_FALSE(request_close(main)); }, {false}); }));
  EXPECT_EQ(asked, 0);
}

// Both ways of quitting ask first; 戻る keeps the window, the edit and 適用.
TEST_F(Shell, WithUnappliedChangesQuittingAsksAndGoBackKeepsEverything) {
  load_settings_files(main);
  GtkEntry* dir = GTK_ENTRY(main->convd_page->dir_entry);
  gtk_entry_set_text(dir, "/edited");
  auto question_shown = [](size_t) {
    EXPECT_EQ(open_message_text(), to_utf8(message_text(kMessageDiscardChanges)));
  };
  for (bool closing : {false, true}) {
    bool stays = true;
    auto quit = [&] {
      if (closing)
        stays = request_close(main);
      else
        on_cancel(nullptr, main);
    };
    int asked = 0;
    EXPECT_FALSE(quits_main_loop([&] { asked = run_answering(quit, {false}, question_shown); }));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(stays);
    EXPECT_STREQ(gtk_entry_get_text(dir), "/edited");
    EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).dirty);
    EXPECT_TRUE(apply_sensitive());
    EXPECT_TRUE(quits_main_loop([&] { asked = run_answering(quit, {true}); }));  // 破棄して終了
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(stays, !closing);  // closed, the toolkit destroys the window
  }
  EXPECT_EQ(list_dir(etc.path()), "");
}

TEST_F(Shell, BrowseTargetIsRemembered) {
  remember_browse_target(nullptr, GINT_TO_POINTER(BROWSE_TARGET_SAVE));
  EXPECT_EQ(main->browse_target, 9);
  remember_browse_target(nullptr, GINT_TO_POINTER(BROWSE_TARGET_READ));
  EXPECT_EQ(main->browse_target, 8);
}

TEST_F(Shell, EachPageNamesItsHelpTopic) {
  GtkNotebook* notebook = GTK_NOTEBOOK(main->notebook);
  const char* keys[] = {"SERVENV_CONVDRC", "SERVENV_TOLQHOSTS", "SERVENV_READ", "SERVENV_SAVE"};
  for (int page = 0; page < 4; ++page)
    EXPECT_STREQ(page_help_key(gtk_notebook_get_nth_page(notebook, page)), keys[page]);
  EXPECT_EQ(page_help_key(nullptr), nullptr);
}

}  // namespace
