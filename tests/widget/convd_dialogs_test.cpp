#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "common/catalogue.h"
#include "filepages/file_pages.h"
#include "gui/state.h"
#include "serverrc/convd_page.h"
#include "serverrc/convdrc_file.h"
#include "serverrc/dict_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/widget_support.h"

namespace {

using Rows = std::vector<std::string>;

// What a window manager's close box sends.
void send_close_request(GtkWidget* window) {
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(window->window));
  event->any.send_event = TRUE;
  gtk_main_do_event(event);
  gdk_event_free(event);
}

// A main window whose dictionary directory is a scratch directory holding
// a.dic, sub/b.dic and 日本.dic; other/c.dic lies outside it.
class DictDialogs : public testing::Test {
 protected:
  void SetUp() override {
    Places places = test_places();
    copy_bounded(places.etc_dir, root.path().c_str());
    copy_bounded(places.lib_dir, root.path().c_str());
    copy_bounded(places.home_dir, "/nonexistent-home");
    copy_bounded(places.user_name, "root");
    for (const char* d : {"dicts", "dicts/sub", "other"}) mkdir((root / d).c_str(), 0755);
    for (const char* f : {"dicts/a.dic", "dicts/sub/b.dic", "dicts/日本.dic", "other/c.dic"})
      write_file(root / f, "");
    main = build_test_main_window(places);
    ASSERT_NE(main, nullptr);
    page = main->convd_page.get();
    set_rows({});
    gtk_entry_set_text(GTK_ENTRY(page->dir_entry), dicts.c_str());
    make_clean();
  }
  void TearDown() override { destroy_test_main_window(main); }

  void set_rows(const Rows& rows) {
    ConvdSettings settings;
    settings.dicts = rows;
    settings.dir = dicts;
    show_convd_settings(page, settings);
  }
  Rows rows() const {
    Rows names;
    for (int i = 0; i < GTK_CLIST(page->dict_list)->rows; ++i)
      names.emplace_back(dict_row_name(page->dict_list, i));
    return names;
  }
  void make_clean() {
    settings_file(FILE_KIND_CONVDRC).dirty = false;
    gtk_widget_set_sensitive(main->apply_button, FALSE);
  }
  bool dirty() const {
    return settings_file(FILE_KIND_CONVDRC).dirty && GTK_WIDGET_SENSITIVE(main->apply_button);
  }
  bool clean() const {
    return !settings_file(FILE_KIND_CONVDRC).dirty && !GTK_WIDGET_SENSITIVE(main->apply_button);
  }

  void in_dialog(void (*opener)(GtkWidget*, MainWindow*), const char* title,
                 const std::function<void(GtkFileSelection*)>& action) {
    in_file_dialog(main, opener, title, action);
  }
  void add(const std::string& file) {
    in_dialog(on_dict_add, kDictAddTitle, [&](GtkFileSelection* fs) { choose_and_ok(fs, file); });
  }
  void change(const std::string& file) {
    in_dialog(on_dict_change, kDictChangeTitle,
              [&](GtkFileSelection* fs) { choose_and_ok(fs, file); });
  }
  // OK that shows a message and leaves the dialog open; then Cancel.
  void expect_refusal(GtkFileSelection* fs, const std::string& file, int message) {
    choose_and_ok(fs, file);
    EXPECT_EQ(open_message_text(), to_utf8(message_text(message)));
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(fs));
    close_message_dialogs();
    gtk_button_clicked(GTK_BUTTON(fs->cancel_button));
  }
  void select_row(int row) {
    gtk_clist_select_row(GTK_CLIST(page->dict_list), row, 0);
    make_clean();
  }

  TempDir root;
  std::string dicts = root / "dicts";
  MainWindow* main = nullptr;
  ConvdPage* page = nullptr;
};

TEST_F(DictDialogs, AddEntersFilesInsideTheDirectoryRelativeToIt) {
  in_dialog(on_dict_add, kDictAddTitle, [&](GtkFileSelection* fs) {
    EXPECT_EQ(shown_path(fs), dicts);
    choose_and_ok(fs, dicts + "/a.dic");
  });
  EXPECT_TRUE(dirty());
  add(dicts + "/sub/b.dic");
  add(root / "other/c.dic");
  EXPECT_EQ(rows(), (Rows{"a.dic", "sub/b.dic", root / "other/c.dic"}));
  EXPECT_EQ(page->dict_column_width,
            dict_text_width(page->dict_list, (root / "other/c.dic").c_str()));
}

TEST_F(DictDialogs, AddUsesTheExpandedDirectory) {
  copy_bounded(main->places.home_dir, root.path().substr(0, root.path().size() - 1).c_str());
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), "@HOME/dicts/");
  add(dicts + "/sub/b.dic");
  EXPECT_EQ(rows(), Rows{"sub/b.dic"});
}

TEST_F(DictDialogs, AddStoresJapaneseNamesInEucJp) {
  add(dicts + "/日本.dic");
  EXPECT_EQ(rows(), Rows{"\xc6\xfc\xcb\xdc.dic"});
  gchar* shown = nullptr;
  gtk_clist_get_text(GTK_CLIST(page->dict_list), 0, 0, &shown);
  EXPECT_STREQ(shown, "日本.dic");
}

TEST_F(DictDialogs, AddRefusesAFileAlreadyListed) {
  set_rows({"a.dic", root / "other/c.dic"});
  in_dialog(on_dict_add, kDictAddTitle,
            [&](GtkFileSelection* fs) { expect_refusal(fs, dicts + "/a.dic", 56); });
  in_dialog(on_dict_add, kDictAddTitle,
            [&](GtkFileSelection* fs) { expect_refusal(fs, root / "other/c.dic", 56); });
  EXPECT_EQ(rows(), (Rows{"a.dic", root / "other/c.dic"}));
  EXPECT_TRUE(clean());
}

// A convdrc line splits a name at white space, and has no room for other
// control characters; names read from a file are taken as they are.
TEST_F(DictDialogs, NamesTheFileCannotHoldAreRefused) {
  set_rows({"a.dic", "l\x01.dic", "my dict.dic"});
  for (const char* name : {"/srv dict.dic", "/x\ty.dic", "/x\ny.dic"})
    in_dialog(on_dict_add, kDictAddTitle,
              [&](GtkFileSelection* fs) { expect_refusal(fs, dicts + name, 136); });
  in_dialog(on_dict_add, kDictAddTitle,
            [&](GtkFileSelection* fs) { expect_refusal(fs, dicts + "/x\x01y.dic", 125); });
  in_dialog(on_dict_add, kDictAddTitle,
            [&](GtkFileSelection* fs) { expect_refusal(fs, dicts + "/l\x01.dic", 56); });
  select_row(0);
  in_dialog(on_dict_change, kDictChangeTitle,
            [&](GtkFileSelection* fs) { expect_refusal(fs, dicts + "/b c.dic", 136); });
  EXPECT_EQ(rows(), (Rows{"a.dic", "l\x01.dic", "my dict.dic"}));
  EXPECT_TRUE(clean());
  // A blank in the directory is no part of the name entered.
  mkdir((root / "my dicts").c_str(), 0755);
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), (root / "my dicts").c_str());
  add(root / "my dicts/x.dic");
  EXPECT_EQ(rows().back(), "x.dic");
}

TEST_F(DictDialogs, AddWithAnEmptyNameAddsNothing) {
  add(dicts + "/");
  EXPECT_EQ(rows(), Rows{});
  EXPECT_TRUE(clean());
}

TEST_F(DictDialogs, AddShowsMessage116WhenTheDirectoryCannotBeExpanded) {
  copy_bounded(main->places.user_name, std::string(3000, 'u').c_str());
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), "/d/@USR/@USR");
  in_dialog(on_dict_add, kDictAddTitle, [&](GtkFileSelection* fs) {
    gchar* cwd = g_get_current_dir();
    EXPECT_EQ(shown_path(fs), cwd);  // opened at ""
    g_free(cwd);
    expect_refusal(fs, dicts + "/a.dic", 116);
  });
  EXPECT_EQ(rows(), Rows{});
}

TEST_F(DictDialogs, ChangeReplacesTheSelectedRowAndKeepsItSelected) {
  set_rows({"a.dic", "x.dic"});
  select_row(1);
  in_dialog(on_dict_change, kDictChangeTitle, [&](GtkFileSelection* fs) {
    EXPECT_EQ(shown_path(fs), dicts + "/x.dic");
    choose_and_ok(fs, dicts + "/sub/b.dic");
  });
  EXPECT_EQ(rows(), (Rows{"a.dic", "sub/b.dic"}));
  EXPECT_EQ(page->dict_selected_row, 1);
  EXPECT_EQ(GPOINTER_TO_INT(GTK_CLIST(page->dict_list)->selection->data), 1);
  EXPECT_TRUE(GTK_WIDGET_SENSITIVE(page->change_button));
  EXPECT_TRUE(GTK_WIDGET_SENSITIVE(page->remove_button));
  EXPECT_TRUE(dirty());
}

TEST_F(DictDialogs, ChangeToTheRowsOwnFileIsAccepted) {
  set_rows({"a.dic", root / "other/c.dic"});
  select_row(1);
  change(root / "other/c.dic");
  EXPECT_TRUE(dirty());
  select_row(0);
  change(dicts + "/a.dic");
  EXPECT_TRUE(dirty());
  EXPECT_EQ(rows(), (Rows{"a.dic", root / "other/c.dic"}));
}

// The selection starts at the row's own file: ＯＫ on it keeps the row byte
// for byte, also where the file selection could not go to its directory.
TEST_F(DictDialogs, ChangeThenOkOnTheSameFileKeepsTheRowAsItWas) {
  set_rows({"@LANG/single.dic", "./a.dic"});
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), (root / "missing").c_str());
  select_row(0);
  in_dialog(on_dict_change, kDictChangeTitle, [&](GtkFileSelection* fs) {
    EXPECT_EQ(std::string(gtk_file_selection_get_filename(fs)), root / "missing/ja_JP/single.dic");
    gtk_button_clicked(GTK_BUTTON(fs->ok_button));
  });
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), dicts.c_str());
  select_row(1);
  change(dicts + "/./a.dic");
  EXPECT_EQ(rows(), (Rows{"@LANG/single.dic", "./a.dic"}));
}

TEST_F(DictDialogs, ChangeRefusesAnotherListedFile) {
  set_rows({"a.dic", "sub/b.dic"});
  select_row(0);
  in_dialog(on_dict_change, kDictChangeTitle,
            [&](GtkFileSelection* fs) { expect_refusal(fs, dicts + "/sub/b.dic", 56); });
  EXPECT_EQ(rows(), (Rows{"a.dic", "sub/b.dic"}));
  EXPECT_TRUE(clean());
}

TEST_F(DictDialogs, ChangeWithAnEmptyNameKeepsTheRow) {
  set_rows({"a.dic"});
  select_row(0);
  change(dicts + "/sub/");
  EXPECT_EQ(rows(), Rows{"a.dic"});
  EXPECT_TRUE(clean());
}

TEST_F(DictDialogs, ChangeDoesNothingWithoutASelectedRow) {
  set_rows({"a.dic"});
  on_dict_change(nullptr, main);  // returns at once: no dialog, no loop
  EXPECT_EQ(find_window(kDictChangeTitle), nullptr);
  EXPECT_TRUE(GTK_WIDGET_SENSITIVE(main->window));
}

TEST_F(DictDialogs, ReferPutsTheChosenDirectoryInMacroForm) {
  in_dialog(on_dir_refer, kReferTitle, [&](GtkFileSelection* fs) {
    EXPECT_FALSE(GTK_WIDGET_SENSITIVE(fs->file_list));
    choose_and_ok(fs, dicts + "/sub/");
  });
  EXPECT_EQ(std::string(gtk_entry_get_text(GTK_ENTRY(page->dir_entry))), dicts + "/sub");
  EXPECT_TRUE(dirty());
  copy_bounded(main->places.home_dir, root.path().substr(0, root.path().size() - 1).c_str());
  in_dialog(on_dir_refer, kReferTitle,
            [&](GtkFileSelection* fs) { choose_and_ok(fs, root / "other/"); });
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page->dir_entry)), "@HOME/other");
}

TEST_F(DictDialogs, CancelOrCloseChangesNothing) {
  set_rows({"a.dic"});
  select_row(0);
  struct Opener {
    void (*open)(GtkWidget*, MainWindow*);
    const char* title;
  };
  for (const auto& opener :
       {Opener{on_dict_add, kDictAddTitle}, Opener{on_dict_change, kDictChangeTitle},
        Opener{on_dir_refer, kReferTitle}}) {
    in_dialog(opener.open, opener.title, [&](GtkFileSelection* fs) {
      gtk_file_selection_set_filename(fs, (root / "other/c.dic").c_str());
      gtk_button_clicked(GTK_BUTTON(fs->cancel_button));
    });
    in_dialog(opener.open, opener.title, [&](GtkFileSelection* fs) {
      gtk_file_selection_set_filename(fs, (root / "other/c.dic").c_str());
      send_close_request(GTK_WIDGET(fs));
    });
  }
  EXPECT_EQ(rows(), Rows{"a.dic"});
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page->dir_entry)), dicts.c_str());
  EXPECT_TRUE(clean());
}

TEST_F(DictDialogs, NewAndChangedRowsAreScrolledIntoView) {
  Rows many;
  for (int i = 0; i < 60; ++i) many.push_back("d" + std::to_string(i) + ".dic");
  set_rows(many);
  process_events();
  GtkCList* list = GTK_CLIST(page->dict_list);
  add(dicts + "/a.dic");
  process_events();
  EXPECT_EQ(gtk_clist_row_is_visible(list, 60), GTK_VISIBILITY_FULL);
  EXPECT_NE(gtk_clist_row_is_visible(list, 0), GTK_VISIBILITY_FULL);
  select_row(0);
  change(dicts + "/sub/b.dic");
  process_events();
  EXPECT_EQ(gtk_clist_row_is_visible(list, 0), GTK_VISIBILITY_FULL);
}

TEST_F(DictDialogs, DuplicateCheckComparesFullPathsTextually) {
  set_rows({"a.dic", "/abs/b.dic", "@VARDIR/x"});
  EXPECT_TRUE(dict_in_list("/d/a.dic", "/d/", DictChoice::kAdd));
  EXPECT_TRUE(dict_in_list("/abs/b.dic", "/d/", DictChoice::kAdd));
  EXPECT_TRUE(dict_in_list("/d/@VARDIR/x", "/d/", DictChoice::kAdd));
  EXPECT_FALSE(dict_in_list("/var/lib/tolq8/x", "/d/", DictChoice::kAdd));
  EXPECT_FALSE(dict_in_list("/d//a.dic", "/d/", DictChoice::kAdd));
  EXPECT_TRUE(dict_in_list("/e/a.dic", "/e/", DictChoice::kAdd));
  select_row(1);
  EXPECT_FALSE(dict_in_list("/abs/b.dic", "/d/", DictChoice::kChange));
  EXPECT_TRUE(dict_in_list("/d/a.dic", "/d/", DictChoice::kChange));
}

}  // namespace
