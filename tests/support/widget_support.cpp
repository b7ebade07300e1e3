#include "tests/support/widget_support.h"

#include <cstring>

#include "access/access_dialogs.h"
#include "access/access_file.h"
#include "access/access_page.h"
#include "common/catalogue.h"
#include "converter/converter.h"
#include "filepages/file_pages.h"
#include "gui/state.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"

void process_events() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

bool wait_until(const std::function<bool()>& condition) {
  for (int i = 0; i < 200; ++i) {
    process_events();
    if (condition()) return true;
    g_usleep(10000);
  }
  return false;
}

Places test_places() {
  Places places;
  form_directory_strings(&places);
  return places;
}

MainWindow* build_test_main_window(const Places& places) {
  auto* main = new MainWindow{};
  main->places = places;
  main->help.reset(new Help{});
  load_message_catalogue(TOLQ_TEST_DATA_DIR "/tolqsysenv_server.msg", &main->catalogue);
  if (build_main_window(main) != 0) return nullptr;
  show_main_window(main);
  process_events();
  return main;
}

void destroy_test_main_window(MainWindow* main) {
  if (!main) return;
  close_message_dialogs();
  gtk_widget_destroy(main->window);
  process_events();
  if (main_window_record == main) main_window_record = nullptr;
  delete main;  // with its page records
}

void ScratchMainWindowTest::SetUp() {
  Places places = test_places();
  copy_bounded(places.etc_dir, etc.path().c_str());
  copy_bounded(places.lib_dir, lib.path().c_str());
  main = build_test_main_window(places);
  ASSERT_NE(main, nullptr);
}

void ScratchMainWindowTest::TearDown() {
  destroy_test_main_window(main);
}

namespace {

gboolean run_action(gpointer data) {
  auto* action = static_cast<std::function<void()>*>(data);
  (*action)();
  return FALSE;
}

std::string find_label_text(GtkWidget* widget) {
  if (GTK_IS_LABEL(widget)) return gtk_label_get_text(GTK_LABEL(widget));
  if (!GTK_IS_CONTAINER(widget)) return "";
  std::string found;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* l = children; l && found.empty(); l = l->next)
    if (!GTK_IS_BUTTON(l->data)) found = find_label_text(GTK_WIDGET(l->data));
  g_list_free(children);
  return found;
}

template <typename F>
void for_each_toplevel(F f) {
  GList* windows = gtk_window_list_toplevels();
  for (GList* l = windows; l; l = l->next) f(GTK_WIDGET(l->data));
  g_list_free(windows);
}

}  // namespace

void with_nested_loop(const std::function<void()>& start_loop,
                      const std::function<void()>& action) {
  std::function<void()> copy = action;
  g_idle_add_full(G_PRIORITY_DEFAULT_IDLE + 1, run_action, &copy, nullptr);
  start_loop();
}

void in_file_dialog(MainWindow* main, void (*opener)(GtkWidget*, MainWindow*), const char* title,
                    const std::function<void(GtkFileSelection*)>& action) {
  bool ran = false;
  with_nested_loop([&] { opener(nullptr, main); },
                   [&] {
                     ran = true;
                     GtkWidget* dialog = find_window(title);
                     ASSERT_NE(dialog, nullptr) << title;
                     EXPECT_FALSE(GTK_WIDGET_SENSITIVE(main->window));
                     action(GTK_FILE_SELECTION(dialog));
                   });
  EXPECT_TRUE(ran);
  EXPECT_EQ(find_window(title), nullptr) << "the dialog ended";
  EXPECT_TRUE(GTK_WIDGET_SENSITIVE(main->window));
}

void choose_and_ok(GtkFileSelection* fs, const std::string& file) {
  gtk_file_selection_set_filename(fs, file.c_str());
  gtk_button_clicked(GTK_BUTTON(fs->ok_button));
}

std::string shown_path(GtkFileSelection* fs) {
  std::string path = gtk_file_selection_get_filename(fs);
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

GtkWidget* find_window(const char* title) {
  GtkWidget* found = nullptr;
  for_each_toplevel([&](GtkWidget* w) {
    const char* t = gtk_window_get_title(GTK_WINDOW(w));
    if (t && strcmp(t, title) == 0 && GTK_WIDGET_VISIBLE(w)) found = w;
  });
  return found;
}

std::string open_message_text() {
  std::string text;
  for_each_toplevel([&](GtkWidget* w) {
    if (GTK_IS_DIALOG(w) && GTK_WIDGET_VISIBLE(w)) text = find_label_text(GTK_DIALOG(w)->vbox);
  });
  return text;
}

void close_message_dialogs() {
  for_each_toplevel([&](GtkWidget* w) {
    if (GTK_IS_DIALOG(w) && !GTK_IS_FILE_SELECTION(w)) {
      gtk_grab_remove(w);
      gtk_widget_destroy(w);
    }
  });
  process_events();
}

namespace {

struct Answers {
  const std::vector<bool>& answers;
  const std::function<void(size_t)>& before_answer;
  size_t given = 0;
};

// Answers an open question, if any; goes on while answers are left.
gboolean answer_open_question(gpointer data) {
  auto* state = static_cast<Answers*>(data);
  GtkWidget* question = nullptr;
  for_each_toplevel([&](GtkWidget* w) {
    if (GTK_IS_DIALOG(w) && GTK_WIDGET_VISIBLE(w) && gtk_window_get_modal(GTK_WINDOW(w)))
      question = w;
  });
  if (question) {
    if (state->before_answer) state->before_answer(state->given);
    bool yes = state->answers[state->given++];
    gtk_dialog_response(GTK_DIALOG(question), yes ? GTK_RESPONSE_YES : GTK_RESPONSE_NO);
  }
  return state->given < state->answers.size();
}

}  // namespace

int run_answering(const std::function<void()>& code, const std::vector<bool>& answers,
                  const std::function<void(size_t)>& before_answer) {
  Answers state{answers, before_answer};
  guint source = answers.empty() ? 0 : g_timeout_add(20, answer_open_question, &state);
  code();
  if (state.given < answers.size()) g_source_remove(source);
  return static_cast<int>(state.given);
}

void press_key(GtkWidget* widget, guint keyval) {
  GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
  event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_toplevel(widget)->window));
  event->key.send_event = TRUE;
  event->key.time = GDK_CURRENT_TIME;
  event->key.keyval = keyval;
  // Accelerators and key bindings are looked up by hardware keycode.
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  if (gdk_keymap_get_entries_for_keyval(nullptr, keyval, &keys, &count) && count > 0) {
    event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
    event->key.group = static_cast<guint8>(keys[0].group);
  }
  g_free(keys);
  gtk_main_do_event(event);
  gdk_event_free(event);
}

GtkWidget* front_dialog() {
  GtkWidget* grab = gtk_grab_get_current();
  return grab ? gtk_widget_get_toplevel(grab) : nullptr;
}

std::string to_utf8(const char* euc) {
  return euc_to_utf8(euc).get();
}
