// 変更内容: what Apply would write, shown before it writes.
#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "access/access_page.h"
#include "app/main_window.h"
#include "app/review_window.h"
#include "app/texts.h"
#include "common/unified_diff.h"
#include "gui/state.h"
#include "serverrc/convd_page.h"
#include "tests/support/files.h"
#include "tests/support/widget_support.h"

namespace {

class Review : public ScratchMainWindowTest {
 protected:
  void start_with(const std::string& convdrc, const std::string& tolqhosts) {
    mkdir((etc / "ja_JP").c_str(), 0755);
    write_file(etc / "ja_JP/convdrc", convdrc);
    write_file(etc / "tolqhosts", tolqhosts);
    load_settings_files(main);
  }
  void set_text(GtkWidget* entry, const char* text) { gtk_entry_set_text(GTK_ENTRY(entry), text); }
};

GtkWidget* find_child(GtkWidget* widget, const std::function<bool(GtkWidget*)>& wanted) {
  if (wanted(widget)) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GtkWidget* found = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* l = children; l && !found; l = l->next)
    found = find_child(GTK_WIDGET(l->data), wanted);
  g_list_free(children);
  return found;
}

std::string shown_text(GtkWidget* window) {
  GtkWidget* view = find_child(window, [](GtkWidget* w) { return GTK_IS_TEXT_VIEW(w); });
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  GtkTextIter begin, end;
  gtk_text_buffer_get_bounds(buffer, &begin, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &begin, &end, FALSE);
  std::string shown = text;
  g_free(text);
  return shown;
}

void click(GtkWidget* window, const char* euc_label) {
  std::string label = to_utf8(euc_label);
  GtkWidget* button = find_child(window, [&](GtkWidget* w) {
    return GTK_IS_BUTTON(w) && label == gtk_button_get_label(GTK_BUTTON(w));
  });
  ASSERT_NE(button, nullptr) << label;
  gtk_button_clicked(GTK_BUTTON(button));
}

// The review and Apply take their bytes from the same render.
TEST_F(Review, ShowsTheDiffToExactlyTheBytesApplyThenWritesForBothFiles) {
  start_with("convd_dir /var/dic\n", "convd ja_JP a {\n}\n");
  set_text(main->convd_page->dir_entry, "/srv/dic");
  add_server({"b.example", ""});
  SettingsFile& convd = settings_file(FILE_KIND_CONVDRC);
  SettingsFile& hosts = settings_file(FILE_KIND_TOLQHOSTS);
  std::string convd_bytes = convd.render(main);
  std::string hosts_bytes = hosts.render(main);
  EXPECT_EQ(review_text(main),
            convd.path() + "\n" + unified_diff(read_file(convd.path()), convd_bytes) + "\n" +
                hosts.path() + "\n" + unified_diff(read_file(hosts.path()), hosts_bytes));
  ASSERT_EQ(apply_changes(nullptr, main), 0);
  EXPECT_EQ(read_file(convd.path()), convd_bytes);
  EXPECT_EQ(read_file(hosts.path()), hosts_bytes);
  EXPECT_EQ(status_text(), "適用しました: " + convd.path() + "（前の版: " + convd.path() + "-）、" +
                               hosts.path() + "（前の版: " + hosts.path() +
                               "-）。convd の再起動後に有効になります。");
}

TEST_F(Review, ANewFileShowsAllItsLinesAddedAndAnEditItsHunkConvertedForDisplay) {
  mkdir((etc / "ja_JP").c_str(), 0755);
  // 日 in EUC-JP, and a byte that is no EUC-JP character.
  write_file(etc / "ja_JP/convdrc", "; \xc6\xfc\nautosave 5\nset_giji_eisuu \xff\n");
  load_settings_files(main);
  EXPECT_EQ(review_text(main), to_utf8(kTextReviewNothing) + "\n");
  set_page_dirty(FILE_KIND_TOLQHOSTS);
  std::string hosts = etc / "tolqhosts\n";
  std::string added = "@@ -0,0 +1,3 @@\n+;;\n+;; tolqhosts : created by cfgmate \n+;;\n";
  EXPECT_EQ(review_text(main), hosts + added);
  set_text(main->convd_page->autosave_spin, "7");
  EXPECT_EQ(review_text(main), etc / "ja_JP/convdrc\n" +
                                   "@@ -1,3 +1,8 @@\n"
                                   "+;;\n"
                                   "+;; convdrc : created by cfgmate \n"
                                   "+;;\n"
                                   " ; 日\n"
                                   "-autosave 5\n"
                                   "+autosave\t\t7\n"
                                   " set_giji_eisuu ?\n"
                                   "+convd_dir\t\t@VARDIR/dic\n"
                                   "+max_sticky_env\t\t10\n" +
                                   "\n" + hosts + added);
}

// The window belongs to the main window, which waits for it; its 適用 is
// Apply, and it closes only once everything was written.
TEST_F(Review, TheWindowShowsTheReviewAndClosesOnEscOrOnceItsApplyWroteEverything) {
  mkdir((etc / "tolqhosts").c_str(), 0755);  // no file Apply can replace
  load_settings_files(main);
  EXPECT_FALSE(GTK_WIDGET_SENSITIVE(main->review_button));
  set_page_dirty(FILE_KIND_CONVDRC);
  set_page_dirty(FILE_KIND_TOLQHOSTS);
  ASSERT_TRUE(GTK_WIDGET_SENSITIVE(main->review_button));
  std::string title = to_utf8(kTitleReview);
  auto in_window = [&](const std::function<void(GtkWidget*)>& action) {
    with_nested_loop([&] { gtk_button_clicked(GTK_BUTTON(main->review_button)); },
                     [&] {
                       GtkWidget* window = find_window(title.c_str());
                       ASSERT_NE(window, nullptr);
                       EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(window)),
                                 GTK_WINDOW(main->window));
                       EXPECT_FALSE(GTK_WIDGET_SENSITIVE(main->window));
                       EXPECT_EQ(shown_text(window), review_text(main));
                       action(window);
                     });
    EXPECT_EQ(find_window(title.c_str()), nullptr);
    EXPECT_TRUE(GTK_WIDGET_SENSITIVE(main->window));
  };
  in_window([&](GtkWidget* window) { press_key(window, GDK_Escape); });
  in_window([&](GtkWidget* window) {
    click(window, kTextApply);  // convdrc is written, tolqhosts cannot be
    close_message_dialogs();
    ASSERT_EQ(find_window(title.c_str()), window);  // kept open, showing what is left
    EXPECT_EQ(shown_text(window), review_text(main));
    EXPECT_EQ(shown_text(window).find("convdrc"), std::string::npos);
    ASSERT_EQ(rmdir((etc / "tolqhosts").c_str()), 0);
    click(window, kTextApply);
  });
  EXPECT_TRUE(file_exists(etc / "ja_JP/convdrc"));
  EXPECT_TRUE(file_exists(etc / "tolqhosts"));
  EXPECT_FALSE(GTK_WIDGET_SENSITIVE(main->review_button));
}

}  // namespace
