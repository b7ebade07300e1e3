#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "access/access_file.h"
#include "access/access_model.h"
#include "access/access_page.h"
#include "common/catalogue.h"
#include "common/message_numbers.h"
#include "filepages/file_pages.h"
#include "gui/state.h"
#include "serverrc/convd_page.h"
#include "tests/support/files.h"
#include "tests/support/widget_support.h"

namespace {

const char kOtherHosts[] =
    "; tolqhosts kept elsewhere\n"
    "convd\tja_JP  far.example/9000 {\n"
    "client:alice\n"
    "}\n"
    "; between blocks\n"
    "convd ja_JP near.example {\n"
    "@bob\n"
    "}\n";

const char kOtherConvdrc[] =
    "; a convdrc from elsewhere\n"
    "convd_dir\t\t/srv/dic\n"
    "readfile\t\tone.dic\n"
    "readfile\t\ttwo.dic\n"
    "max_sticky_env\t\t20\n";

std::string message(int number) {
  return to_utf8(message_text(number));
}

// The read and save pages of a main window whose system directories are scratch
// directories, with the start-up source names of an absent tolqhosts.
class FilePages : public ScratchMainWindowTest {
 protected:
  void SetUp() override {
    ScratchMainWindowTest::SetUp();
    // Their tabs chosen, as a user reaches them: that builds their widgets.
    for (int tab : {2, 3, 0}) gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), tab);
    copy_bounded(settings_file(FILE_KIND_TOLQHOSTS).src_dir, main->places.etc_dir);
    copy_bounded(settings_file(FILE_KIND_TOLQHOSTS).src_name, "tolqhosts");
    settings_file(FILE_KIND_CONVDRC).src_dir[0] = settings_file(FILE_KIND_CONVDRC).src_name[0] =
        '\0';
    gtk_widget_set_sensitive(main->apply_button, FALSE);
    settings_file(FILE_KIND_CONVDRC).dirty = settings_file(FILE_KIND_TOLQHOSTS).dirty =
        settings_file(FILE_KIND_CONVDRC).read_ok = settings_file(FILE_KIND_TOLQHOSTS).read_ok =
            false;
  }

  // Sets a page's choice and path, runs its action and returns the message shown.
  std::string run(FilePage* page, const char* choice, const std::string& path) {
    gtk_entry_set_text(GTK_ENTRY(GTK_COMBO(page->file_combo)->entry), choice);
    gtk_entry_set_text(GTK_ENTRY(page->path_entry), path.c_str());
    if (page == read_page_record())
      on_read_clicked(nullptr, main);
    else
      on_save_clicked(nullptr, main);
    std::string shown = open_message_text();
    close_message_dialogs();
    return shown;
  }
  std::string path_shown(FilePage* page) { return gtk_entry_get_text(GTK_ENTRY(page->path_entry)); }
  bool apply_sensitive() { return GTK_WIDGET_SENSITIVE(main->apply_button); }

  TempDir tmp;
};

TEST_F(FilePages, AnEmptyPathOrOneEndingWithASlashAsksForAFileName) {
  for (FilePage* page : {read_page_record(), save_page_record()}) {
    for (const char* choice : {"convdrc", "tolqhosts"}) {
      EXPECT_EQ(run(page, choice, ""), message(58));
      EXPECT_EQ(run(page, choice, tmp.path()), message(58));
    }
  }
  EXPECT_EQ(list_dir(tmp.path()), "");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty || settings_file(FILE_KIND_CONVDRC).dirty);
}

TEST_F(FilePages, PreviousVersionPutsTheChosenKindsPreviousVersionIntoThePath) {
  FilePage* page = read_page_record();
  const std::pair<const char*, std::string> kinds[] = {{"convdrc", etc / "ja_JP/convdrc-"},
                                                       {"tolqhosts", etc / "tolqhosts-"}};
  for (const auto& [choice, previous] : kinds) {
    gtk_entry_set_text(GTK_ENTRY(GTK_COMBO(page->file_combo)->entry), choice);
    gtk_button_clicked(GTK_BUTTON(page->previous_button));
    EXPECT_EQ(path_shown(page), previous);
  }
  EXPECT_EQ(save_page_record()->previous_button, nullptr);
}

TEST_F(FilePages, ReadingAMissingFileSaysSoAndChangesNothing) {
  EXPECT_EQ(run(read_page_record(), "tolqhosts", tmp / "absent"), message(60));
  EXPECT_EQ(run(read_page_record(), "convdrc", tmp / "absent"), message(60));
  EXPECT_EQ(status_text(), "読み込めませんでした: " + tmp / "absent。");
  EXPECT_STREQ(settings_file(FILE_KIND_TOLQHOSTS).src_name, "tolqhosts");
  EXPECT_STREQ(settings_file(FILE_KIND_CONVDRC).src_name, "");
  EXPECT_FALSE(apply_sensitive());
}

TEST_F(FilePages, AFailedReadKeepsTheFileThePageCameFrom) {
  ASSERT_EQ(mkdir((tmp / "dir").c_str(), 0755), 0);
  EXPECT_EQ(run(read_page_record(), "tolqhosts", tmp / "dir"), message(59));
  EXPECT_EQ(std::string(settings_file(FILE_KIND_TOLQHOSTS).src_dir), etc.path());
  EXPECT_STREQ(settings_file(FILE_KIND_TOLQHOSTS).src_name, "tolqhosts");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).read_ok);
  EXPECT_FALSE(apply_sensitive());
}

TEST_F(FilePages, ARelativePathIsReadFromTheWorkingDirectory) {
  write_file(tmp / "hosts", kOtherHosts);
  char saved_cwd[kPathSize];
  ASSERT_NE(getcwd(saved_cwd, sizeof saved_cwd), nullptr);
  ASSERT_EQ(chdir(tmp.path().c_str()), 0);
  std::string shown = run(read_page_record(), "tolqhosts", "hosts");
  ASSERT_EQ(chdir(saved_cwd), 0);

  EXPECT_EQ(shown, message(66));
  char real[kPathSize];
  ASSERT_NE(realpath(tmp.path().c_str(), real), nullptr);
  EXPECT_EQ(path_shown(read_page_record()), std::string(real) + "/hosts");
  EXPECT_EQ(std::string(settings_file(FILE_KIND_TOLQHOSTS).src_dir), std::string(real) + "/");
  EXPECT_STREQ(settings_file(FILE_KIND_TOLQHOSTS).src_name, "hosts");
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).read_ok);
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_FALSE(settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_TRUE(apply_sensitive());
  EXPECT_EQ(GTK_CLIST(main->access_page->server_list)->rows, 2);
}

TEST_F(FilePages, TildeIsTheHomeDirectoryAndEdgeBlanksAreRefused) {
  copy_bounded(main->places.home_dir, tmp.path().c_str());
  char saved_cwd[kPathSize];
  ASSERT_NE(getcwd(saved_cwd, sizeof saved_cwd), nullptr);
  ASSERT_EQ(chdir(tmp.path().c_str()), 0);
  std::string blank = run(save_page_record(), "tolqhosts", " x");
  std::string home = run(save_page_record(), "tolqhosts", "~/saved/tolqhosts");
  ASSERT_EQ(chdir(saved_cwd), 0);
  main->places.home_dir[0] = '\0';
  EXPECT_EQ(blank, message(kMessageEdgeBlank));
  EXPECT_EQ(home, message(67));
  EXPECT_EQ(path_shown(save_page_record()), tmp / "saved/tolqhosts");
  EXPECT_EQ(list_dir(tmp.path()), "saved");
}

TEST_F(FilePages, ApplyAfterAReadKeepsThatFilesCommentsAndLayout) {
  write_file(tmp / "hosts", kOtherHosts);
  ASSERT_EQ(run(read_page_record(), "tolqhosts", tmp / "hosts"), message(66));
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  std::string written = read_file(etc / "tolqhosts");
  size_t first = written.find("far.example/9000");
  size_t comment = written.find("; between blocks\n");
  size_t second = written.find("near.example");
  EXPECT_NE(written.find("; tolqhosts kept elsewhere\n"), std::string::npos) << written;
  ASSERT_NE(comment, std::string::npos) << written;
  EXPECT_LT(first, comment);
  EXPECT_LT(comment, second);
  EXPECT_NE(written.find("client:alice\n"), std::string::npos);
  EXPECT_NE(written.find("@bob\n"), std::string::npos);
  EXPECT_EQ(read_file(tmp / "hosts"), kOtherHosts);
}

TEST_F(FilePages, SavingCreatesMissingDirectoriesAndLeavesThePagesClean) {
  write_file(tmp / "hosts", kOtherHosts);
  ASSERT_EQ(run(read_page_record(), "tolqhosts", tmp / "hosts"), message(66));
  settings_file(FILE_KIND_TOLQHOSTS).dirty = false;
  gtk_widget_set_sensitive(main->apply_button, FALSE);

  EXPECT_EQ(run(save_page_record(), "tolqhosts", tmp / "new/deeper/tolqhosts"), message(67));
  EXPECT_EQ(status_text(), "保存しました: " + tmp / "new/deeper/tolqhosts。");
  std::string saved = read_file(tmp / "new/deeper/tolqhosts");
  EXPECT_NE(saved.find("far.example/9000"), std::string::npos) << saved;
  EXPECT_EQ(file_mode(tmp / "new"), 0775);
  // Saving over it keeps no previous version; only Apply does.
  EXPECT_EQ(run(save_page_record(), "tolqhosts", tmp / "new/deeper/tolqhosts"), message(67));
  EXPECT_EQ(list_dir(tmp / "new/deeper"), "tolqhosts");
  EXPECT_EQ(run(save_page_record(), "convdrc", tmp / "other/convdrc"), message(67));
  EXPECT_NE(read_file(tmp / "other/convdrc").find(";; convdrc : created by cfgmate \n"),
            std::string::npos);
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty || settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_FALSE(apply_sensitive());
}

TEST_F(FilePages, ASaveThatCannotBeWrittenSaysSo) {
  write_file(tmp / "plain", "x");
  EXPECT_EQ(run(save_page_record(), "tolqhosts", tmp / "plain/sub/tolqhosts"), message(61));
  EXPECT_EQ(run(save_page_record(), "convdrc", tmp / "plain/sub/convdrc"), message(61));
  EXPECT_EQ(status_text(), "保存できませんでした: " + tmp / "plain/sub/convdrc。");
  EXPECT_EQ(read_file(tmp / "plain"), "x");
}

// Through a link to it, or by its own path: an Apply of that file.
TEST_F(FilePages, SavingOntoTheStandardFileIsAnApplyOfIt) {
  write_file(etc / "tolqhosts", "; standard\n");
  note_standard_file(FILE_KIND_TOLQHOSTS);
  ASSERT_EQ(symlink((etc / "tolqhosts").c_str(), (tmp / "link").c_str()), 0);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
  EXPECT_EQ(run(save_page_record(), "tolqhosts", tmp / "link"), message(67));
  EXPECT_EQ(status_text(), "適用しました: " + etc / "tolqhosts（前の版: " + etc / "tolqhosts-）。" +
                               "convd の再起動後に有効になります。");
  EXPECT_EQ(read_file(etc / "tolqhosts-"), "; standard\n");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_FALSE(apply_sensitive());
  // What it wrote is no outside change; another writer's is.
  set_page_dirty(FILE_KIND_TOLQHOSTS);
  EXPECT_EQ(run_answering([&] { apply_changes(nullptr, main); }, {false}), 0);
  write_file(etc / "tolqhosts", "; outside\n");
  std::string shown = "?";
  auto save = [&] { shown = run(save_page_record(), "tolqhosts", etc / "tolqhosts"); };
  EXPECT_EQ(run_answering(save, {false}), 1);
  EXPECT_EQ(shown, "");
  EXPECT_EQ(read_file(etc / "tolqhosts"), "; outside\n");
}

TEST_F(FilePages, AFileTooLargeIsNotReadAndThePageKeepsItsEdits) {
  gtk_entry_set_text(GTK_ENTRY(main->convd_page->dir_entry), "/unapplied");
  write_file(tmp / "convdrc", "");
  ASSERT_EQ(truncate((tmp / "convdrc").c_str(), kMaxSettingsFileSize + 1), 0);
  EXPECT_EQ(run(read_page_record(), "convdrc", tmp / "convdrc"),
            tmp / "convdrc" + "\n" + message(kMessageTooLarge));
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(main->convd_page->dir_entry)), "/unapplied");
}

TEST_F(FilePages, ReadingAConvdrcFillsItsPageAndRemembersIt) {
  write_file(tmp / "convdrc", kOtherConvdrc);
  gtk_widget_set_sensitive(main->convd_page->change_button, TRUE);
  EXPECT_EQ(run(read_page_record(), "convdrc", tmp / "convdrc"), message(66));
  EXPECT_EQ(status_text(), "読み込みました: " + tmp / "convdrc。「適用」で " +
                               etc / "ja_JP/convdrc に書き込みます。");
  EXPECT_EQ(std::string(settings_file(FILE_KIND_CONVDRC).src_dir), tmp.path());
  EXPECT_STREQ(settings_file(FILE_KIND_CONVDRC).src_name, "convdrc");
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).read_ok);
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).dirty);
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_EQ(GTK_CLIST(main->convd_page->dict_list)->rows, 2);
  EXPECT_FALSE(GTK_WIDGET_SENSITIVE(main->convd_page->change_button));

  ASSERT_EQ(apply_changes(nullptr, main), 0);
  std::string written = read_file(etc / "ja_JP/convdrc");
  EXPECT_NE(written.find("; a convdrc from elsewhere\n"), std::string::npos) << written;
  EXPECT_NE(written.find("/srv/dic"), std::string::npos) << written;
}

TEST_F(FilePages, APathTooLongToUseIsRefusedNotCut) {
  // A path that the old 127-character entry would have cut to a file that exists.
  std::string prefix = tmp / std::string(127 - tmp.path().size(), 'p');
  write_file(prefix, "; untouched\n");
  std::string longer = prefix + "/" + std::string(4096, 'q');
  for (FilePage* page : {read_page_record(), save_page_record()})
    EXPECT_EQ(run(page, "tolqhosts", longer), message(kMessagePathTooLong));
  EXPECT_EQ(path_shown(save_page_record()), longer);  // shown whole, not cut
  EXPECT_EQ(read_file(prefix), "; untouched\n");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
}

TEST_F(FilePages, AReadThatFindsNothingOfItsKindOrMoreThanThePageShowsSaysSo) {
  write_file(tmp / "tolqhosts", kOtherHosts);
  EXPECT_EQ(run(read_page_record(), "convdrc", tmp / "tolqhosts"), message(kMessageWrongKind));
  EXPECT_TRUE(settings_file(FILE_KIND_CONVDRC).dirty);  // the page holds what was read all the same
  write_file(tmp / "convdrc", kOtherConvdrc);
  EXPECT_EQ(run(read_page_record(), "tolqhosts", tmp / "convdrc"), message(kMessageWrongKind));
  std::string many;
  for (int b = 0; b < 60; ++b) many += "convd ja_JP h" + std::to_string(b) + " {\n}\n";
  write_file(tmp / "many", many);
  EXPECT_EQ(run(read_page_record(), "tolqhosts", tmp / "many"), message(kMessageMoreThanShown));
  EXPECT_EQ(GTK_CLIST(main->access_page->server_list)->rows, MAX_ACCESS_BLOCKS);
}

TEST_F(FilePages, BrowseFillsThePathEntryOfTheTargetPage) {
  mkdir((tmp / "other").c_str(), 0755);
  write_file(tmp / "日本.dic", "");
  gtk_entry_set_text(GTK_ENTRY(main->read_page->path_entry), (tmp / "other/").c_str());
  gtk_entry_set_text(GTK_ENTRY(main->save_page->path_entry), "unchanged");
  main->browse_target = BROWSE_TARGET_READ;
  in_file_dialog(main, open_browse_dialog, kBrowseTitle, [&](GtkFileSelection* fs) {
    EXPECT_EQ(shown_path(fs), tmp / "other");
    choose_and_ok(fs, tmp / "日本.dic");
  });
  EXPECT_EQ(path_shown(main->read_page.get()), tmp / "日本.dic");
  EXPECT_EQ(path_shown(main->save_page.get()), "unchanged");
  main->browse_target = 0;
  in_file_dialog(main, open_browse_dialog, kBrowseTitle,
                 [&](GtkFileSelection* fs) { choose_and_ok(fs, tmp / "日本.dic"); });
  EXPECT_EQ(path_shown(main->save_page.get()), "unchanged");
  EXPECT_FALSE(settings_file(FILE_KIND_CONVDRC).dirty || settings_file(FILE_KIND_TOLQHOSTS).dirty);
}

}  // namespace
