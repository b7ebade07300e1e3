#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "common/catalogue.h"
#include "common/message_numbers.h"
#include "filepages/file_pages.h"
#include "gui/state.h"
#include "serverrc/convd_page.h"
#include "serverrc/convdrc_file.h"
#include "serverrc/dict_dialogs.h"
#include "serverrc/texts.h"
#include "tests/support/files.h"
#include "tests/support/widget_support.h"

namespace {

using namespace std::string_literals;

const std::string kHeader = ";;\n;; convdrc : created by cfgmate \n;;\n";
// 日本.dic in EUC-JP, as a convdrc holds it.
const std::string kJapaneseDict = "\xc6\xfc\xcb\xdc.dic";

class ConvdPageTest : public ScratchMainWindowTest {
 protected:
  void SetUp() override {
    ScratchMainWindowTest::SetUp();
    page = main->convd_page.get();
  }

  // Start-up's loading, with this convdrc in the system directory.
  void start_with(const std::string& convdrc) {
    mkdir((etc / "ja_JP").c_str(), 0755);
    write_file(etc / "ja_JP/convdrc", convdrc);
    load_settings_files(main);
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
  GtkCList* list() const { return GTK_CLIST(page->dict_list); }
  std::vector<std::string> shown_rows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < list()->rows; ++i) {
      gchar* text = nullptr;
      gtk_clist_get_text(list(), i, 0, &text);
      rows.emplace_back(text);
    }
    return rows;
  }
  bool row_buttons_sensitive() const {
    return GTK_WIDGET_SENSITIVE(page->change_button) && GTK_WIDGET_SENSITIVE(page->remove_button);
  }
  bool row_buttons_insensitive() const {
    return !GTK_WIDGET_SENSITIVE(page->change_button) && !GTK_WIDGET_SENSITIVE(page->remove_button);
  }
  std::string text_of(GtkWidget* entry) const { return gtk_entry_get_text(GTK_ENTRY(entry)); }
  void expect_defaults() const {
    EXPECT_EQ(list()->rows, 0);
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(page->ondisk_check)));
    EXPECT_EQ(text_of(page->sticky_spin), "10");
    EXPECT_EQ(text_of(page->autosave_spin), "0");
    EXPECT_EQ(text_of(page->dir_entry), "@VARDIR/dic");
    EXPECT_EQ(text_of(page->giji_entry), "");
  }

  ConvdPage* page = nullptr;
};

// The notice under the list follows the page: filled, rows removed and
// added, the directory typed. The rule itself is the core's.
TEST_F(ConvdPageTest, MissingDictionariesAreNamedUnderTheListAsThePageChanges) {
  mkdir((etc / "dic").c_str(), 0755);
  write_file(etc / "dic/here.dic", "");
  write_file(etc / "other.dic", "");
  start_with("convd_dir " + etc / "dic" + "\nreadfile here.dic\nreadfile gone.dic\nreadfile " +
             kJapaneseDict + "\n");
  GtkWidget* label = page->missing_label;
  auto notice = [&] {
    return GTK_WIDGET_VISIBLE(label) ? std::string(gtk_label_get_text(GTK_LABEL(label))) : "";
  };
  const std::string missing = to_utf8(kTextMissingDicts);
  const std::string separator = to_utf8(kTextNameSeparator);
  EXPECT_EQ(notice(), missing + "gone.dic" + separator + "日本.dic");
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), (etc / "nodir").c_str());
  EXPECT_EQ(notice(), to_utf8(kTextNoDictDir) + etc / "nodir" + "\n" + missing + "here.dic" +
                          separator + "gone.dic" + separator + "日本.dic");
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), (etc / "dic").c_str());
  gtk_clist_select_row(list(), 1, 0);
  on_dict_remove(nullptr, nullptr);
  EXPECT_EQ(notice(), missing + "日本.dic");
  write_file(etc / "dic/" + kJapaneseDict, "");
  in_file_dialog(main, on_dict_add, kDictAddTitle,
                 [&](GtkFileSelection* fs) { choose_and_ok(fs, etc / "other.dic"); });
  EXPECT_EQ(list()->rows, 3);
  EXPECT_EQ(notice(), "");
  gtk_widget_show_all(main->window);  // as start-up shows the window
  EXPECT_FALSE(GTK_WIDGET_VISIBLE(label));
}

TEST_F(ConvdPageTest, StartUpShowsTheFileAndLeavesApplyInsensitive) {
  start_with("convd_dir /var/\xc6\xfc\nreadfile a.dic\nreadfile " + kJapaneseDict +
             "\nondisk_off\nmax_sticky_env 999\nautosave 7\nset_giji_eisuu -  _\n");
  EXPECT_TRUE(clean());
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).read_ok);
  EXPECT_EQ(shown_rows(), (std::vector<std::string>{"a.dic", "日本.dic"}));
  EXPECT_EQ(dict_row_name(page->dict_list, 1), kJapaneseDict);
  EXPECT_FALSE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(page->ondisk_check)));
  EXPECT_EQ(text_of(page->sticky_spin), "256");
  EXPECT_EQ(text_of(page->autosave_spin), "7");
  EXPECT_EQ(text_of(page->dir_entry), "/var/日");
  EXPECT_EQ(text_of(page->giji_entry), "- _");
  EXPECT_TRUE(row_buttons_insensitive());
}

TEST_F(ConvdPageTest, ValuesTheUserDidNotChangeGoBackAsRead) {
  // Longer than any line limit, more words than a line used to hold, and
  // bytes that do not convert (row 9 holds no characters).
  std::string dir = "/" + std::string(2000, 'd') + "\xa9\xa1/x";
  std::string giji;
  for (int i = 0; i < 30; ++i) giji += (i ? " " : "") + std::to_string(i);
  giji += " \xa9\xa1";
  start_with("convd_dir " + dir + "\nset_giji_eisuu " + giji + "\n");
  EXPECT_EQ(text_of(page->dir_entry), "/" + std::string(2000, 'd') + "?/x");
  gtk_button_clicked(GTK_BUTTON(page->ondisk_check));
  gtk_button_clicked(GTK_BUTTON(page->ondisk_check));
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"), kHeader + "convd_dir " + dir + "\nset_giji_eisuu " +
                                                  giji + "\nmax_sticky_env\t\t10\nautosave\t\t0\n");
}

TEST_F(ConvdPageTest, TypedTextsAreWrittenSoThatTheyReadBackAlike) {
  start_with("");
  gtk_entry_set_text(GTK_ENTRY(page->giji_entry), "①Ⅰ㈱髙－～∥￢");
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  load_settings_files(main);
  EXPECT_EQ(text_of(page->giji_entry), "①Ⅰ㈱髙－～∥￢");
  // A character EUC-JP cannot hold is refused, and nothing is written.
  std::string before = read_file(etc / "ja_JP/convdrc");
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), "/dic/\xf0\x9f\x98\x80");
  EXPECT_EQ(apply_changes(nullptr, main), -1);
  EXPECT_EQ(
      open_message_text(),
      to_utf8(
          (std::string(kTextDirSetting) + "\n" + message_text(kMessageUnwritableText)).c_str()));
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"), before);
  EXPECT_TRUE(dirty());
}

// What the user made of a value that the file could not take as it stands
// is refused by name, and nothing is written; values left alone, NUL and
// all, go back byte for byte.
TEST_F(ConvdPageTest, EditsThatWouldLoseBytesOrSplitTheDirectoryAreRefused) {
  start_with(
      "convd_dir /var/\xff\xa1"
      "dic\nreadfile a\0b.dic\nset_giji_eisuu x\0y\n"s);
  std::string shown = text_of(page->dir_entry);
  EXPECT_EQ(text_of(page->giji_entry), "x?y");
  EXPECT_EQ(shown_rows(), std::vector<std::string>{"a"});
  std::string before = read_file(etc / "ja_JP/convdrc");
  auto refused = [&](GtkWidget* entry, const std::string& typed, int message) {
    std::string old = text_of(entry);
    gtk_entry_set_text(GTK_ENTRY(entry), typed.c_str());
    const char* setting = entry == page->dir_entry ? kTextDirSetting : kTextGijiSetting;
    std::string expected = std::string(setting) + "\n" + message_text(message);
    bool shown_refusal =
        apply_changes(nullptr, main) == -1 && open_message_text() == to_utf8(expected.c_str());
    close_message_dialogs();
    gtk_entry_set_text(GTK_ENTRY(entry), old.c_str());
    return shown_refusal && read_file(etc / "ja_JP/convdrc") == before && dirty();
  };
  // "?" would replace FF A1.
  EXPECT_TRUE(refused(page->dir_entry, shown + "/sub", kMessageUnconvertedBytes));
  EXPECT_TRUE(refused(page->dir_entry, "/var/my dic", kMessageSpaceInDirectory));
  // A line break would start a line of its own.
  EXPECT_TRUE(refused(page->giji_entry, "- \nautosave 9", kMessageUnwritableText));
  // With what does not convert taken out, the edit goes in; the rest stays.
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), "/var/dic/sub");
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"),
            kHeader +
                "convd_dir\t\t/var/dic/sub\nreadfile a\0b.dic\nset_giji_eisuu x\0y\n"
                "max_sticky_env\t\t10\nautosave\t\t0\n"s);
}

// A read that fails on the way (here at once: /proc/self/mem is a plain
// file whose every read fails) leaves nothing of the file on the page.
TEST_F(ConvdPageTest, AReadThatFailsLeavesThePageAsItWasAndSaysSo) {
  mkdir((etc / "ja_JP").c_str(), 0755);
  mkdir((lib / "ja_JP").c_str(), 0755);
  ASSERT_EQ(symlink("/proc/self/mem", (etc / "ja_JP/convdrc").c_str()), 0);
  auto told = [](const std::string& path) {
    std::string expected = path + "\n" + message_text(kMessageReadFailed);
    bool shown = open_message_text() == to_utf8(expected.c_str());
    close_message_dialogs();
    return shown;
  };
  load_settings_files(main);  // at start: the defaults
  EXPECT_TRUE(told(etc / "ja_JP/convdrc"));
  expect_defaults();
  EXPECT_EQ(page->source, nullptr);

  unlink((etc / "ja_JP/convdrc").c_str());
  start_with("; mine\nreadfile a\n");
  ASSERT_EQ(symlink("/proc/self/mem", (lib / "ja_JP/convdrc").c_str()), 0);
  on_convd_reset(nullptr, main);
  EXPECT_TRUE(told(lib / "ja_JP/convdrc"));
  gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), 2);
  FilePage* read = read_page_record();
  gtk_entry_set_text(GTK_ENTRY(GTK_COMBO(read->file_combo)->entry), "convdrc");
  gtk_entry_set_text(GTK_ENTRY(read->path_entry), "/proc/self/mem");
  on_read_clicked(nullptr, main);
  EXPECT_EQ(open_message_text(), to_utf8(message_text(kMessageReadFailed)));
  close_message_dialogs();
  EXPECT_EQ(shown_rows(), std::vector<std::string>{"a"});
  EXPECT_TRUE(clean());
  // The file read before is still the one carried over.
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(page->ondisk_check), FALSE);
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"),
            kHeader +
                "; mine\nreadfile a\nconvd_dir\t\t@VARDIR/dic\nondisk_off\n"
                "max_sticky_env\t\t10\nautosave\t\t0\n");
}

TEST_F(ConvdPageTest, EveryEditMarksThePageDirty) {
  start_with("");
  gtk_entry_append_text(GTK_ENTRY(page->dir_entry), "x");
  EXPECT_TRUE(dirty());
  make_clean();
  gtk_button_clicked(GTK_BUTTON(page->ondisk_check));
  EXPECT_TRUE(dirty());
  make_clean();
  gtk_spin_button_spin(GTK_SPIN_BUTTON(page->sticky_spin), GTK_SPIN_STEP_FORWARD, 1);
  EXPECT_TRUE(dirty());
  make_clean();
  gtk_spin_button_spin(GTK_SPIN_BUTTON(page->autosave_spin), GTK_SPIN_STEP_FORWARD, 1);
  EXPECT_TRUE(dirty());
  make_clean();
  gtk_entry_append_text(GTK_ENTRY(page->giji_entry), "-");
  EXPECT_TRUE(dirty());
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
}

TEST_F(ConvdPageTest, SpinButtonsStopAtTheirBounds) {
  auto stepped = [](GtkWidget* spin, double from, GtkSpinType direction) {
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), from);
    gtk_spin_button_spin(GTK_SPIN_BUTTON(spin), direction, 1);
    return gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(spin));
  };
  EXPECT_EQ(stepped(page->sticky_spin, 256, GTK_SPIN_STEP_FORWARD), 256);
  EXPECT_EQ(stepped(page->sticky_spin, 1, GTK_SPIN_STEP_BACKWARD), 1);
  EXPECT_EQ(stepped(page->autosave_spin, 1024, GTK_SPIN_STEP_FORWARD), 1024);
  EXPECT_EQ(stepped(page->autosave_spin, 0, GTK_SPIN_STEP_BACKWARD), 0);
}

TEST_F(ConvdPageTest, RemoveTakesExactlyTheSelectedRow) {
  start_with("readfile a\nreadfile bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\nreadfile c\n");
  gtk_clist_select_row(list(), 1, 0);
  EXPECT_TRUE(row_buttons_sensitive());
  EXPECT_TRUE(clean());  // selecting is no change
  fit_dict_column(page);
  int wide = page->dict_column_width;
  on_dict_remove(nullptr, nullptr);
  EXPECT_EQ(shown_rows(), (std::vector<std::string>{"a", "c"}));
  EXPECT_TRUE(row_buttons_insensitive());
  EXPECT_TRUE(dirty());
  EXPECT_LT(page->dict_column_width, wide);  // the column fits the rows left
}

TEST_F(ConvdPageTest, RemoveWithNothingSelectedChangesNothing) {
  start_with("readfile a\nreadfile b\n");
  gtk_clist_select_row(list(), 0, 0);
  gtk_clist_unselect_row(list(), 0, 0);
  EXPECT_TRUE(row_buttons_insensitive());
  on_dict_remove(nullptr, nullptr);
  EXPECT_EQ(list()->rows, 2);
  EXPECT_TRUE(clean());
}

TEST_F(ConvdPageTest, ResetWithoutAnInstalledCopyGivesTheDefaults) {
  start_with("readfile a\nondisk_off\nautosave 9\nset_giji_eisuu -\n");
  gtk_clist_select_row(list(), 0, 0);
  on_convd_reset(nullptr, main);
  expect_defaults();
  EXPECT_TRUE(dirty());
  EXPECT_TRUE(row_buttons_insensitive());
  EXPECT_STREQ(settings_file(FILE_KIND_CONVDRC).src_dir, "");
  EXPECT_STREQ(settings_file(FILE_KIND_CONVDRC).src_name, "");
  EXPECT_EQ(page->dict_column_width, 0);
}

TEST_F(ConvdPageTest, ResetReadsTheInstalledCopyWhichIsThenCarriedOver) {
  start_with("readfile a\n");
  mkdir((lib / "ja_JP").c_str(), 0755);
  write_file(lib / "ja_JP/convdrc", "; shipped\nreadfile sys.dic\nautosave 5\n");
  gtk_entry_set_text(GTK_ENTRY(page->sticky_spin), "typed");
  on_convd_reset(nullptr, main);
  EXPECT_EQ(shown_rows(), std::vector<std::string>{"sys.dic"});
  EXPECT_EQ(text_of(page->autosave_spin), "5");
  EXPECT_EQ(text_of(page->sticky_spin), "10");  // a typed text goes too
  EXPECT_TRUE(dirty());
  EXPECT_EQ(std::string(settings_file(FILE_KIND_CONVDRC).src_dir), lib / "ja_JP/");
  EXPECT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"),
            kHeader +
                "; shipped\nreadfile sys.dic\nautosave 5\n"
                "convd_dir\t\t@VARDIR/dic\nmax_sticky_env\t\t10\n");
  EXPECT_TRUE(clean());
}

TEST_F(ConvdPageTest, ReadFailureLeavesThePageAsItWas) {
  start_with("readfile a\nautosave 3\n");
  copy_bounded(settings_file(FILE_KIND_CONVDRC).src_name, "missing");
  EXPECT_EQ(read_convdrc(main), -1);
  copy_bounded(settings_file(FILE_KIND_CONVDRC).src_dir, "/");
  copy_bounded(settings_file(FILE_KIND_CONVDRC).src_name, "tmp");
  EXPECT_EQ(read_convdrc(main), -1);  // a directory
  EXPECT_EQ(shown_rows(), std::vector<std::string>{"a"});
  EXPECT_EQ(text_of(page->autosave_spin), "3");
}

TEST_F(ConvdPageTest, ApplyWritesThePageCarryingOverTheFileRead) {
  start_with("; mine\nconvd_dir /d\nreadfile " + kJapaneseDict + "\nfoo bar\n");
  gtk_entry_set_text(GTK_ENTRY(page->dir_entry), "/var/日本/");
  gtk_entry_set_text(GTK_ENTRY(page->giji_entry), "・ -");
  gtk_entry_set_text(GTK_ENTRY(page->autosave_spin), "12");  // typed, not yet taken in
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(page->ondisk_check), FALSE);
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"),
            kHeader + "; mine\nconvd_dir\t\t/var/\xc6\xfc\xcb\xdc\nreadfile " + kJapaneseDict +
                "\nfoo bar\nondisk_off\nmax_sticky_env\t\t10\nautosave\t\t12\n"
                "set_giji_eisuu\t\t\xa1\xa6 -\n");
  EXPECT_TRUE(clean());
}

TEST_F(ConvdPageTest, NamesThatAreNotEucJpAreWrittenBackByteForByte) {
  const std::string utf8_name = "\xe6\x97\xa5.dic";  // a file named in UTF-8
  const std::string broken = "x\xff\xfe.dic";
  start_with("readfile " + utf8_name + "\nreadfile " + broken + "\n");
  EXPECT_EQ(list()->rows, 2);
  mark_dirty(nullptr, GINT_TO_POINTER(FILE_KIND_CONVDRC));
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(read_file(etc / "ja_JP/convdrc"), kHeader + "readfile " + utf8_name + "\nreadfile " +
                                                  broken +
                                                  "\nconvd_dir\t\t@VARDIR/dic\n"
                                                  "max_sticky_env\t\t10\nautosave\t\t0\n");
}

TEST_F(ConvdPageTest, ApplyFailureShowsMessage68AndKeepsThePageDirty) {
  start_with("autosave 1\n");
  // A directory where the file should be: refused, with the reason after message 68.
  unlink((etc / "ja_JP/convdrc").c_str());
  mkdir((etc / "ja_JP/convdrc").c_str(), 0755);
  note_standard_file(FILE_KIND_CONVDRC);  // as the program saw it: no outside change to ask about
  gtk_entry_append_text(GTK_ENTRY(page->giji_entry), "-");
  EXPECT_EQ(apply_changes(nullptr, main), -1);
  EXPECT_EQ(open_message_text().rfind(to_utf8(message_text(68)), 0), 0u);
  EXPECT_TRUE(dirty());
  EXPECT_EQ(list_dir(etc / "ja_JP"), "convdrc");
  close_message_dialogs();
}

TEST_F(ConvdPageTest, ColumnFitsTheWidestRow) {
  fit_dict_column(page);
  EXPECT_EQ(page->dict_column_width, 0);
  start_with("readfile i\nreadfile WWWWWWWWWWWW\nreadfile mm\nreadfile " + kJapaneseDict + "\n");
  fit_dict_column(page);
  // What the list itself needs to show its rows whole, the title left out.
  gtk_clist_column_titles_hide(list());
  int needed = gtk_clist_optimal_column_width(list(), 0);
  gtk_clist_column_titles_show(list());
  EXPECT_GT(needed, dict_text_width(page->dict_list, "mm"));
  EXPECT_EQ(page->dict_column_width, needed);
  EXPECT_EQ(list()->column[0].width, needed);
}

TEST_F(ConvdPageTest, RewindPutsEveryCursorAtTheStart) {
  start_with("convd_dir /a/long/directory\nset_giji_eisuu - _\n");
  for (GtkWidget* w : {page->dir_entry, page->giji_entry, page->sticky_spin, page->autosave_spin})
    gtk_editable_set_position(GTK_EDITABLE(w), -1);
  rewind_convd_fields(page);
  for (GtkWidget* w : {page->dir_entry, page->giji_entry, page->sticky_spin, page->autosave_spin})
    EXPECT_EQ(gtk_editable_get_position(GTK_EDITABLE(w)), 0);
}

// A letter in 自動保存確定回数 would read as 0 and turn automatic saving off.
TEST_F(ConvdPageTest, SpinButtonsTakeDigitsOnlyAndStillClamp) {
  GtkWidget* spin = page->autosave_spin;
  gtk_entry_set_text(GTK_ENTRY(spin), "5");
  gint position = 1;
  gtk_editable_insert_text(GTK_EDITABLE(spin), "abc", 3, &position);
  gtk_editable_insert_text(GTK_EDITABLE(spin), "000", 3, &position);
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(spin)), "5000");
  gtk_spin_button_update(GTK_SPIN_BUTTON(spin));
  EXPECT_EQ(gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(spin)), 1024);
}

}  // namespace
