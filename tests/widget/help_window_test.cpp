#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>

#include <cstring>
#include <string>

#include "help/help_window.h"
#include "tests/support/files.h"
#include "tests/support/widget_support.h"

namespace {

constexpr int kTopics = 40;  // more than the contents list shows at once
constexpr const char* kErrorTitle = "onlinehelp error message";

std::string key(int i) {
  return "KEY" + std::to_string(i);
}
std::string title(int i) {
  return "Title " + std::to_string(i);
}
std::string body(int i) {
  return "Body " + std::to_string(i) + "\n\nsecond line\n";
}

std::string help_file_text() {
  std::string text = "Tolq8 helpfile\n%%The heading\n";
  for (int i = 0; i < kTopics; ++i) text += "#" + key(i) + "\n%" + title(i) + "\n" + body(i);
  return text;
}

std::string find_label(GtkWidget* widget) {
  if (GTK_IS_LABEL(widget)) return gtk_label_get_text(GTK_LABEL(widget));
  if (!GTK_IS_CONTAINER(widget) || GTK_IS_BUTTON(widget)) return "";
  std::string found;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* l = children; l && found.empty(); l = l->next)
    found = find_label(GTK_WIDGET(l->data));
  g_list_free(children);
  return found;
}

GtkWidget* find_button(GtkWidget* widget) {
  if (GTK_IS_BUTTON(widget)) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GtkWidget* found = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* l = children; l && !found; l = l->next) found = find_button(GTK_WIDGET(l->data));
  g_list_free(children);
  return found;
}

// Runs code that opens the help error window; returns the window's text after
// pressing its OK button, or "(none)" when no error window appeared.
std::string error_shown_by(const std::function<void()>& code) {
  std::string text = "(none)";
  bool opened = false;
  with_nested_loop(
      [&] {
        code();
        // No error window: the idle action still runs, from this loop.
        if (!opened) process_events();
      },
      [&] {
        GtkWidget* window = find_window(kErrorTitle);
        if (!window) return;
        opened = true;
        text = find_label(window);
        gtk_button_clicked(GTK_BUTTON(find_button(window)));
      });
  return text;
}

class HelpWindowTest : public testing::Test {
 protected:
  // Every test starts before the first request, as the program does.
  void SetUp() override {
    write_file(tmp / "help", help_file_text());
    ASSERT_EQ(load_help_file_at(&help, (tmp / "help").c_str()), 0);
  }
  void TearDown() override {
    if (help.window.window) gtk_widget_destroy(help.window.window);
    process_events();
  }

  HelpWindow& w() { return help.window; }
  GtkCList* list() { return GTK_CLIST(w().contents_list); }
  std::string shown_title() { return gtk_entry_get_text(GTK_ENTRY(w().title_entry)); }
  std::string shown_body() {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(w().text_view));
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::string out = text;
    g_free(text);
    return out;
  }
  int selected_row() {
    GList* selection = list()->selection;
    return selection ? GPOINTER_TO_INT(selection->data) : -1;
  }
  void set_contents(bool on) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w().contents_toggle), on);
    process_events();
  }
  void press(guint keyval) {
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(w().contents_list->window));
    event->key.keyval = keyval;
    // Key bindings are looked up by hardware keycode.
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(nullptr, keyval, &keys, &count) && count > 0)
      event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
    g_free(keys);
    gtk_widget_event(w().contents_list, event);
    gdk_event_free(event);
    process_events();
  }
  bool row_fully_visible(int row) {
    return gtk_clist_row_is_visible(list(), row) == GTK_VISIBILITY_FULL;
  }

  TempDir tmp;
  Help help;
};

TEST_F(HelpWindowTest, FirstRequestBuildsTheWindowAtTheTopic) {
  ASSERT_EQ(show_help(&help, key(3).c_str()), 0);
  process_events();
  ASSERT_NE(find_window("OnLine Help"), nullptr);
  EXPECT_EQ(gtk_label_get_text(GTK_LABEL(w().heading_label)), std::string("The heading"));
  EXPECT_EQ(shown_title(), title(3));
  EXPECT_EQ(shown_body(), body(3));
  // Words such as convd are not split across lines.
  EXPECT_EQ(gtk_text_view_get_wrap_mode(GTK_TEXT_VIEW(w().text_view)), GTK_WRAP_WORD_CHAR);
  EXPECT_EQ(help.current_row, 3);
  EXPECT_FALSE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w().contents_toggle)));

  GtkWidget* first = w().window;
  ASSERT_EQ(show_help(&help, key(7).c_str()), 0);
  EXPECT_EQ(w().window, first);
  EXPECT_EQ(shown_title(), title(7));
  EXPECT_EQ(shown_body(), body(7));
  // Loading the file again leaves no topic current.
  ASSERT_EQ(load_help_file_at(&help, (tmp / "help").c_str()), 0);
  EXPECT_EQ(help.current_topic, nullptr);
  EXPECT_EQ(help.current_row, 0);
}

TEST_F(HelpWindowTest, UnknownKeyKeepsTheTopicButRewindsTheRow) {
  show_help(&help, key(5).c_str());
  // Keys match byte for byte: a trailing blank makes another key.
  EXPECT_EQ(error_shown_by([&] { EXPECT_EQ(show_help(&help, "KEY3 "), -1); }),
            "オンラインヘルプ情報が見つかりません\n");
  EXPECT_EQ(shown_title(), title(5));
  EXPECT_EQ(help.current_row, 0);
  set_contents(true);
  EXPECT_EQ(selected_row(), 0);
  EXPECT_EQ(shown_title(), title(0));
}

TEST_F(HelpWindowTest, ContentsViewSelectsTheCurrentTopicAndSwitchingOffKeepsIt) {
  show_help(&help, key(30).c_str());
  set_contents(true);
  ASSERT_NE(w().contents_list, nullptr);
  EXPECT_EQ(list()->rows, kTopics);
  EXPECT_EQ(selected_row(), 30);
  EXPECT_EQ(list()->focus_row, 30);
  EXPECT_TRUE(row_fully_visible(30));
  EXPECT_EQ(shown_title(), title(30));

  gtk_clist_select_row(list(), 12, 0);
  EXPECT_EQ(shown_body(), body(12));
  set_contents(false);
  EXPECT_EQ(w().contents_list, nullptr);
  EXPECT_EQ(shown_title(), title(12));
  EXPECT_EQ(shown_body(), body(12));
}

TEST_F(HelpWindowTest, ArrowKeysStepOneRowAndStopAtTheEnds) {
  show_help(&help, key(0).c_str());
  set_contents(true);
  press(GDK_Up);
  EXPECT_EQ(selected_row(), 0);
  press(GDK_Down);
  press(GDK_Down);
  EXPECT_EQ(selected_row(), 2);
  EXPECT_EQ(shown_title(), title(2));

  show_help(&help, key(kTopics - 1).c_str());
  press(GDK_Down);
  EXPECT_EQ(selected_row(), kTopics - 1);
  EXPECT_EQ(list()->focus_row, kTopics - 1);
  press(GDK_Up);
  EXPECT_EQ(selected_row(), kTopics - 2);
  press(GDK_Right);
  EXPECT_EQ(selected_row(), kTopics - 2);
}

TEST_F(HelpWindowTest, AnotherKeyScrollsToTheFirstRowWithoutSelecting) {
  show_help(&help, key(kTopics - 1).c_str());
  set_contents(true);
  ASSERT_FALSE(row_fully_visible(0));
  press(GDK_a);
  EXPECT_TRUE(row_fully_visible(0));
  EXPECT_EQ(selected_row(), kTopics - 1);
  EXPECT_EQ(shown_title(), title(kTopics - 1));
}

TEST_F(HelpWindowTest, AnotherTopicInTheContentsViewIsSelectedAndScrolledIntoView) {
  show_help(&help, key(0).c_str());
  set_contents(true);
  show_help(&help, key(35).c_str());
  process_events();
  EXPECT_EQ(selected_row(), 35);
  EXPECT_TRUE(row_fully_visible(35));
  EXPECT_EQ(shown_body(), body(35));
}

TEST_F(HelpWindowTest, CancelAndCloseBoxHideAndHelpBringsItBackAsItWas) {
  show_help(&help, key(1).c_str());
  set_contents(true);
  GtkWidget* window = w().window;
  gtk_window_resize(GTK_WINDOW(window), 800, 500);
  ASSERT_TRUE(wait_until([&] { return window->allocation.width == 800; }));
  int width = window->allocation.width, height = window->allocation.height;

  gtk_button_clicked(GTK_BUTTON(w().cancel_button));
  process_events();
  EXPECT_FALSE(GTK_WIDGET_MAPPED(window));
  ASSERT_EQ(show_help(&help, key(2).c_str()), 0);
  process_events();
  EXPECT_TRUE(GTK_WIDGET_MAPPED(window));
  EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w().contents_toggle)));
  EXPECT_EQ(selected_row(), 2);
  EXPECT_EQ(window->allocation.width, width);
  EXPECT_EQ(window->allocation.height, height);

  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(window->window));
  gtk_widget_event(window, event);
  gdk_event_free(event);
  process_events();
  EXPECT_EQ(w().window, window);
  EXPECT_TRUE(GTK_IS_WINDOW(window));
  EXPECT_FALSE(GTK_WIDGET_MAPPED(window));
  show_help(&help, key(4).c_str());
  EXPECT_TRUE(GTK_WIDGET_MAPPED(window));
}

TEST_F(HelpWindowTest, TheTitleEntryHandsTheFocusOn) {
  show_help(&help, key(1).c_str());
  process_events();
  GdkEvent* event = gdk_event_new(GDK_FOCUS_CHANGE);
  event->focus_change.in = TRUE;
  event->focus_change.window = GDK_WINDOW(g_object_ref(w().window->window));
  gtk_widget_event(w().title_entry, event);
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(w().window)), w().text_view);
  set_contents(true);
  gtk_widget_event(w().title_entry, event);
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(w().window)), w().contents_list);
  gdk_event_free(event);
}

TEST_F(HelpWindowTest, FocusOnAWindowNotYetViewableDoesNotEndTheProgram) {
  show_help(&help, key(1).c_str());
  process_events();
  // The X window goes away behind the toolkit's back, as it is before a
  // window manager has mapped it; the toolkit still takes it for mapped.
  GdkWindow* gdk_window = w().window->window;
  XUnmapWindow(GDK_DRAWABLE_XDISPLAY(gdk_window), gdk_x11_drawable_get_xid(gdk_window));
  XSync(GDK_DRAWABLE_XDISPLAY(gdk_window), False);
  ASSERT_TRUE(GTK_WIDGET_MAPPED(w().window));
  EXPECT_EQ(show_help(&help, key(2).c_str()), 0);
  process_events();
  EXPECT_EQ(shown_title(), title(2));
}

class HelpFileErrors : public testing::Test {
 protected:
  TempDir tmp;
  Help help;
};

TEST_F(HelpFileErrors, MissingAndMalformedFilesAreReportedAndLeaveNoHelp) {
  EXPECT_EQ(
      error_shown_by([&] { EXPECT_EQ(load_help_file_at(&help, (tmp / "none").c_str()), -1); }),
      "ヘルプファイルが見つかりません\n");
  write_file(tmp / "bad", "Tolq8 helpfile\n%%\n");
  EXPECT_EQ(error_shown_by([&] { EXPECT_EQ(load_help_file_at(&help, (tmp / "bad").c_str()), -1); }),
            "ヘルプファイルが異常です\n");
  EXPECT_TRUE(help.file.topics.empty());
  EXPECT_EQ(error_shown_by([&] { EXPECT_EQ(show_help(&help, "KEY0"), -1); }), "(none)");
}

TEST_F(HelpFileErrors, SilentFailureShowsNothing) {
  write_file(tmp / "stray", "Tolq8 helpfile\n%%H\n%stray\n#K\n%T\nb\n");
  EXPECT_EQ(
      error_shown_by([&] { EXPECT_EQ(load_help_file_at(&help, (tmp / "stray").c_str()), -1); }),
      "(none)");
}

TEST_F(HelpFileErrors, ClosingTheErrorWindowByItsCloseBoxAlsoReturns) {
  for (int i = 0; i < 2; ++i) {
    bool closed = false;
    with_nested_loop([&] { show_help_error("text\n"); },
                     [&] {
                       GtkWidget* window = find_window(kErrorTitle);
                       if (!window) return;
                       closed = true;
                       GdkEvent* event = gdk_event_new(GDK_DELETE);
                       event->any.window = GDK_WINDOW(g_object_ref(window->window));
                       gtk_main_do_event(event);
                       gdk_event_free(event);
                     });
    EXPECT_TRUE(closed);
    process_events();
    EXPECT_EQ(find_window(kErrorTitle), nullptr);
  }
}

}  // namespace
